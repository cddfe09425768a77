package tovin.engine;

import java.net.URI;
import javax.tools.SimpleJavaFileObject;

/** A source file whose text is the editor's, saved or not; named by its file's URI. */
final class MemorySource extends SimpleJavaFileObject {
    private final String text;
    private final String binaryName;

    /** {@code binaryName} is the class the file holds when javac finds it on the source path, else null. */
    MemorySource(URI uri, String text, String binaryName) {
        super(uri, Kind.SOURCE);
        this.text = text;
        this.binaryName = binaryName;
    }

    @Override
    public CharSequence getCharContent(boolean ignoreEncodingErrors) {
        return text;
    }

    String binaryName() {
        return binaryName;
    }
}
