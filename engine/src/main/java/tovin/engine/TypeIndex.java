package tovin.engine;

import java.io.IOException;
import java.io.PrintStream;
import java.lang.module.ModuleDescriptor;
import java.lang.module.ModuleFinder;
import java.lang.module.ModuleReference;
import java.lang.module.ModuleReader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.NavigableMap;
import java.util.Set;
import java.util.TreeMap;
import java.util.TreeSet;
import java.util.stream.Stream;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;

/**
 * The names of the top-level types a file may import: the JDK's exported packages', the project's
 * sources' and its class path's. Only names: whether one is public is asked of javac when it is
 * offered. The JDK's are listed once; the project's again when they are older than a few seconds.
 */
final class TypeIndex {
    private static final long PROJECT_FRESH_NANOS = 5_000_000_000L;

    private final Settings settings;
    private final PrintStream log;
    private Index jdk;
    private Index project;
    private long projectTime;

    /** A type that may be imported: its module's name (null for the project's) and its qualified name. */
    record Candidate(String module, String qualified) {
    }

    /** Simple names (lower case) to types, and the packages seen. */
    private record Index(NavigableMap<String, List<Candidate>> names, Set<String> packages) {
        Index() {
            this(new TreeMap<>(), new TreeSet<>());
        }

        void add(String pkg, String simple) {
            add(null, pkg, simple);
        }

        void add(String module, String pkg, String simple) {
            if (simple.contains("$") || simple.equals("package-info") || simple.equals("module-info")
                    || simple.isEmpty() || !Character.isJavaIdentifierStart(simple.charAt(0))) {
                return;
            }
            packages.add(pkg);
            names.computeIfAbsent(simple.toLowerCase(Locale.ROOT), k -> new ArrayList<>())
                    .add(new Candidate(module, pkg.isEmpty() ? simple : pkg + "." + simple));
        }
    }

    TypeIndex(Settings settings, PrintStream log) {
        this.settings = settings;
        this.log = log;
    }

    /** The types whose simple names start with the prefix (any case), by simple name. */
    synchronized List<Candidate> startingWith(String prefix) {
        String low = prefix.toLowerCase(Locale.ROOT);
        TreeMap<String, List<Candidate>> merged = new TreeMap<>();
        for (Index index : List.of(jdkTypes(), projectTypes())) {
            for (Map.Entry<String, List<Candidate>> e : index.names.subMap(low, true, low + Character.MAX_VALUE, true)
                    .entrySet()) {
                merged.computeIfAbsent(e.getKey(), k -> new ArrayList<>()).addAll(e.getValue());
            }
        }
        List<Candidate> all = new ArrayList<>();
        merged.values().forEach(all::addAll);
        return all;
    }

    synchronized Set<String> packages() {
        Set<String> all = new TreeSet<>(jdkTypes().packages);
        all.addAll(projectTypes().packages);
        return all;
    }

    /** The JDK's: the packages its modules export to all, as javac's unnamed module reads them. */
    synchronized Index jdkTypes() {
        if (jdk != null) {
            return jdk;
        }
        Index index = new Index();
        for (ModuleReference module : ModuleFinder.ofSystem().findAll()) {
            ModuleDescriptor descriptor = module.descriptor();
            Set<String> exported = new TreeSet<>();
            descriptor.exports().stream().filter(e -> !e.isQualified()).forEach(e -> exported.add(e.source()));
            if (exported.isEmpty()) {
                continue;
            }
            try (ModuleReader reader = module.open(); Stream<String> names = reader.list()) {
                names.forEach(name -> {
                    int slash = name.lastIndexOf('/');
                    if (slash > 0 && name.endsWith(".class")) {
                        String pkg = name.substring(0, slash).replace('/', '.');
                        if (exported.contains(pkg)) {
                            index.add(descriptor.name(), pkg, name.substring(slash + 1, name.length() - 6));
                        }
                    }
                });
            } catch (IOException e) {
                log.println("tovin-engine: module " + descriptor.name() + " cannot be listed: " + e.getMessage());
            }
        }
        jdk = index;
        return jdk;
    }

    private Index projectTypes() {
        long now = System.nanoTime();
        if (project != null && now - projectTime < PROJECT_FRESH_NANOS) {
            return project;
        }
        Index index = new Index();
        for (Path root : settings.sourcePath()) {
            walk(root, ".java", index);
        }
        List<Path> classes = new ArrayList<>(settings.classPath());
        if (settings.outputDir() != null) {
            classes.add(settings.outputDir());
        }
        for (Path entry : classes) {
            if (Files.isDirectory(entry)) {
                walk(entry, ".class", index);
            } else if (Files.isRegularFile(entry)) {
                try (ZipFile zip = new ZipFile(entry.toFile())) {
                    zip.stream().map(ZipEntry::getName).filter(n -> n.endsWith(".class") && !n.startsWith("META-INF/"))
                            .forEach(n -> {
                                int slash = n.lastIndexOf('/');
                                index.add(slash < 0 ? "" : n.substring(0, slash).replace('/', '.'),
                                        n.substring(slash + 1, n.length() - 6));
                            });
                } catch (IOException e) {
                    log.println("tovin-engine: " + entry + " cannot be listed: " + e.getMessage());
                }
            }
        }
        project = index;
        projectTime = now;
        return project;
    }

    private void walk(Path root, String extension, Index index) {
        if (!Files.isDirectory(root)) {
            return;
        }
        try (Stream<Path> files = Files.walk(root, 32)) {
            files.filter(f -> f.getFileName().toString().endsWith(extension)).limit(100_000).forEach(f -> {
                Path relative = root.relativize(f);
                String pkg = relative.getParent() == null ? "" : relative.getParent().toString().replace('/', '.');
                String file = f.getFileName().toString();
                index.add(pkg, file.substring(0, file.length() - extension.length()));
            });
        } catch (IOException | RuntimeException e) {
            log.println("tovin-engine: " + root + " cannot be listed: " + e.getMessage());
        }
    }
}
