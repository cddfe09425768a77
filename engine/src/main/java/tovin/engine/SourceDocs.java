package tovin.engine;

import java.io.PrintStream;
import java.nio.file.Path;
import java.util.List;
import javax.lang.model.element.ExecutableElement;

/** The JDK's sources (src.zip) for Javadoc, parameter names and definitions. */
final class SourceDocs {
    private final Path cache;
    private final PrintStream log;

    SourceDocs(Path cache, PrintStream log) {
        this.cache = cache;
        this.log = log;
    }

    List<String> parameterNames(ExecutableElement method) {
        return null;
    }
}
