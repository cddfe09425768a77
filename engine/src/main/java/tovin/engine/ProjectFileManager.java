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
 * The project's files as a check needs them. A file javac finds on the source path (one the
 * checked files use) is read as its outline: declarations whole, method bodies left out, and
 * from its unsaved text when it is open in the editor. Its bodies' errors are not the checked
 * file's concern, and attributing them would make a check cost the project instead of the file.
 * Nothing is ever written: javac's output, should it produce any, goes nowhere.
 */
final class ProjectFileManager extends ForwardingJavaFileManager<StandardJavaFileManager> {
    private volatile Map<URI, String> openTexts = Map.of();
    private final Outlines outlines;

    ProjectFileManager(StandardJavaFileManager standard, Outlines outlines) {
        super(standard);
        this.outlines = outlines;
    }

    /** The open documents' texts by file URI, for the next check. */
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
        if (location != StandardLocation.SOURCE_PATH) {
            return found;
        }
        Map<URI, String> texts = openTexts;
        List<JavaFileObject> files = new ArrayList<>();
        for (JavaFileObject file : found) {
            if (file.getKind() != JavaFileObject.Kind.SOURCE) {
                files.add(file);
                continue;
            }
            String text = texts.get(file.toUri());
            String outline = text != null ? outlines.outline(file.toUri(), text)
                    : outlines.outline(file);
            files.add(new MemorySource(file.toUri(), outline, super.inferBinaryName(location, file)));
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
