package tovin.engine;

import java.io.IOException;
import java.io.OutputStream;
import java.net.URI;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Set;
import javax.tools.FileObject;
import javax.tools.ForwardingJavaFileManager;
import javax.tools.JavaFileObject;
import javax.tools.SimpleJavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.StandardLocation;

/**
 * The project's files as the editor shows them: a file javac finds on the source path is read
 * from its unsaved text when it is open with changes. Nothing is ever written: javac's output,
 * should it produce any, goes nowhere.
 *
 * <p>javac knows the JDK's internal packages (and warns of their use) only through its own file
 * manager, not through one that forwards to it, so checks use this one only while another file
 * has unsaved changes.
 */
final class ProjectFileManager extends ForwardingJavaFileManager<StandardJavaFileManager> {
    private volatile Map<URI, String> openTexts = Map.of();

    ProjectFileManager(StandardJavaFileManager standard) {
        super(standard);
    }

    /** The unsaved texts of open documents by file URI, for the next check. */
    void setOpenTexts(Map<URI, String> texts) {
        openTexts = Map.copyOf(texts);
    }

    StandardJavaFileManager standard() {
        return fileManager;
    }

    @Override
    public Iterable<JavaFileObject> list(Location location, String packageName, Set<JavaFileObject.Kind> kinds,
            boolean recurse) throws IOException {
        Iterable<JavaFileObject> found = super.list(location, packageName, kinds, recurse);
        Map<URI, String> texts = openTexts;
        if (location != StandardLocation.SOURCE_PATH || texts.isEmpty()) {
            return found;
        }
        List<JavaFileObject> files = new ArrayList<>();
        for (JavaFileObject file : found) {
            String text = file.getKind() == JavaFileObject.Kind.SOURCE ? texts.get(file.toUri()) : null;
            files.add(text == null ? file
                    : new MemorySource(file.toUri(), text, super.inferBinaryName(location, file)));
        }
        return files;
    }

    @Override
    public String inferBinaryName(Location location, JavaFileObject file) {
        if (file instanceof MemorySource source) {
            return source.binaryName();
        }
        return super.inferBinaryName(location, file);
    }

    @Override
    public boolean isSameFile(FileObject a, FileObject b) {
        if (a instanceof MemorySource || b instanceof MemorySource) {
            return a.toUri().equals(b.toUri());
        }
        return super.isSameFile(a, b);
    }

    @Override
    public JavaFileObject getJavaFileForOutput(Location location, String className, JavaFileObject.Kind kind,
            FileObject sibling) {
        return new Discarded(className, kind);
    }

    @Override
    public FileObject getFileForOutput(Location location, String packageName, String relativeName,
            FileObject sibling) {
        return new Discarded(packageName + "/" + relativeName, JavaFileObject.Kind.OTHER);
    }

    /** An output file that accepts bytes and keeps none. */
    private static final class Discarded extends SimpleJavaFileObject {
        Discarded(String name, Kind kind) {
            super(URI.create("discarded:/output"), kind);
        }

        @Override
        public OutputStream openOutputStream() {
            return OutputStream.nullOutputStream();
        }
    }
}
