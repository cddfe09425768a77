import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.applet.AudioClip;
import java.awt.BorderLayout;
import java.awt.Desktop;
import java.awt.Dimension;
import java.awt.Frame;
import java.awt.HeadlessException;
import java.awt.Image;
import java.awt.Label;
import java.awt.Toolkit;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.lang.reflect.InvocationTargetException;
import java.net.MalformedURLException;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.util.ArrayList;
import java.util.Collections;
import java.util.Enumeration;
import java.util.HashMap;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Shows the applets of an HTML page, each in a window of its own, for the JDKs that no longer
 * ship a viewer of their own. The page's APPLET tags give the class, the code base, the archives,
 * the size and the parameters; the applet's classes are loaded from the code base.
 *
 * <p>Usage: {@code java -classpath VIEWER:PROJECT TovinAppletViewer PAGE.html}. With the system
 * property {@code tovin.appletviewer.check=true} each applet is created, initialised and started
 * in its window, one line "Applet CLASS started WIDTHxHEIGHT" is printed, and the viewer stops
 * the applets and ends, so a page can be checked without anyone closing a window.
 */
@SuppressWarnings("removal") // the applet API is deprecated for removal, and is what this shows
public final class TovinAppletViewer {
    static final String CHECK_PROPERTY = "tovin.appletviewer.check";
    static final int DEFAULT_WIDTH = 100;
    static final int DEFAULT_HEIGHT = 100;

    private TovinAppletViewer() {}

    public static void main(String[] args) {
        if (args.length != 1) {
            System.err.println("Usage: TovinAppletViewer PAGE.html");
            System.exit(2);
        }
        try {
            URL page = new File(args[0]).getAbsoluteFile().toURI().toURL();
            String html = new String(Files.readAllBytes(new File(args[0]).toPath()),
                    StandardCharsets.UTF_8);
            List<AppletTag> tags = AppletTag.parseAll(html);
            if (tags.isEmpty()) {
                System.err.println("No APPLET tag in " + args[0]);
                System.exit(1);
            }
            boolean check = Boolean.getBoolean(CHECK_PROPERTY);
            Context context = new Context(check);
            for (AppletTag tag : tags) {
                context.open(tag, page);
            }
            if (check) {
                context.closeAll();
                System.exit(0);
            }
        } catch (NoSuchFileException e) {
            System.err.println("Cannot read " + args[0] + ": no such file");
            System.exit(1);
        } catch (IOException e) {
            System.err.println("Cannot read " + args[0] + ": " + e.getMessage());
            System.exit(1);
        } catch (HeadlessException e) {
            System.err.println("Cannot show an applet without a display");
            System.exit(1);
        } catch (InvocationTargetException e) {
            Throwable cause = e.getCause();
            System.err.println(cause instanceof HeadlessException
                    ? "Cannot show an applet without a display"
                    : "The applet failed while it was created: " + cause);
            System.exit(1);
        } catch (ClassNotFoundException e) {
            System.err.println("Cannot find the applet's class " + e.getMessage());
            System.exit(1);
        } catch (ClassCastException e) {
            System.err.println(e.getMessage());
            System.exit(1);
        } catch (ReflectiveOperationException e) {
            System.err.println("Cannot create the applet: " + e);
            System.exit(1);
        }
    }

    /** One APPLET tag of the page: its attributes and its PARAM values. */
    static final class AppletTag {
        private static final Pattern APPLET =
                Pattern.compile("<applet\\b([^>]*)>(.*?)(?:</applet\\s*>|$)",
                        Pattern.CASE_INSENSITIVE | Pattern.DOTALL);
        private static final Pattern PARAM =
                Pattern.compile("<param\\b([^>]*)>", Pattern.CASE_INSENSITIVE);
        private static final Pattern ATTRIBUTE = Pattern.compile(
                "([A-Za-z_:][-A-Za-z0-9_:.]*)\\s*(?:=\\s*(\"[^\"]*\"|'[^']*'|[^\\s\"'>]+))?");

        final Map<String, String> attributes;
        final Map<String, String> parameters = new LinkedHashMap<>();

        private AppletTag(Map<String, String> attributes) {
            this.attributes = attributes;
        }

        static List<AppletTag> parseAll(String html) {
            List<AppletTag> tags = new ArrayList<>();
            Matcher applet = APPLET.matcher(withoutComments(html));
            while (applet.find()) {
                AppletTag tag = new AppletTag(parseAttributes(applet.group(1)));
                Matcher param = PARAM.matcher(applet.group(2));
                while (param.find()) {
                    Map<String, String> values = parseAttributes(param.group(1));
                    String name = values.get("name");
                    if (name != null) {
                        tag.parameters.put(name.toLowerCase(Locale.ROOT),
                                values.getOrDefault("value", ""));
                    }
                }
                tags.add(tag);
            }
            return tags;
        }

        private static String withoutComments(String html) {
            return html.replaceAll("(?s)<!--.*?-->", "");
        }

        // Names lower-cased, values unquoted and with the common character references resolved.
        private static Map<String, String> parseAttributes(String text) {
            Map<String, String> values = new HashMap<>();
            Matcher attribute = ATTRIBUTE.matcher(text);
            while (attribute.find()) {
                String value = attribute.group(2);
                if (value == null) {
                    value = "";
                } else if (value.startsWith("\"") || value.startsWith("'")) {
                    value = value.substring(1, value.length() - 1);
                }
                values.putIfAbsent(attribute.group(1).toLowerCase(Locale.ROOT), decode(value));
            }
            return values;
        }

        private static String decode(String value) {
            return value.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"")
                    .replace("&#39;", "'").replace("&apos;", "'").replace("&amp;", "&");
        }

        /** "pkg/Name.class", "pkg.Name.class" and "pkg.Name" all name the class pkg.Name. */
        String className() {
            String code = attributes.getOrDefault("code", "").trim();
            if (code.endsWith(".class")) {
                code = code.substring(0, code.length() - ".class".length());
            }
            return code.replace('/', '.');
        }

        int size(String name, int fallback) {
            try {
                return Integer.parseInt(attributes.getOrDefault(name, "").trim());
            } catch (NumberFormatException e) {
                return fallback;
            }
        }

        /** The code base as a folder URL, relative to the page's folder; the page's folder. */
        URL codeBase(URL page) throws MalformedURLException {
            String base = attributes.getOrDefault("codebase", "").trim();
            if (!base.isEmpty() && !base.endsWith("/")) {
                base += "/";
            }
            return new URL(page, base.isEmpty() ? "./" : base);
        }

        /** The code base followed by the ARCHIVE entries (comma-separated, relative to it). */
        URL[] classPath(URL codeBase) throws MalformedURLException {
            List<URL> urls = new ArrayList<>();
            urls.add(codeBase);
            for (String archive : attributes.getOrDefault("archive", "").split(",")) {
                if (!archive.trim().isEmpty()) {
                    urls.add(new URL(codeBase, archive.trim()));
                }
            }
            return urls.toArray(new URL[0]);
        }
    }

    /** The running applets of the page, and what they ask of their environment. */
    static final class Context implements AppletContext {
        /** One applet on the screen. */
        private static final class Shown {
            final Applet applet;
            final Stub stub;
            final Frame frame;
            final Label status = new Label(" ");

            Shown(Applet applet, Stub stub, Frame frame) {
                this.applet = applet;
                this.stub = stub;
                this.frame = frame;
            }
        }

        private final boolean check;
        // Windows close on the event thread while the main thread may still be opening others.
        private final List<Shown> shown = new CopyOnWriteArrayList<>();
        private final Map<String, InputStream> streams = new HashMap<>();

        Context(boolean check) {
            this.check = check;
        }

        void open(AppletTag tag, URL page) throws IOException, ReflectiveOperationException {
            String className = tag.className();
            if (className.isEmpty()) {
                throw new ClassNotFoundException("the APPLET tag names no CODE");
            }
            URL codeBase = tag.codeBase(page);
            ClassLoader loader = new URLClassLoader(tag.classPath(codeBase),
                    TovinAppletViewer.class.getClassLoader());
            Class<?> type = Class.forName(className, true, loader);
            if (!Applet.class.isAssignableFrom(type)) {
                throw new ClassCastException(className + " is not an applet");
            }
            Applet applet = type.asSubclass(Applet.class).getDeclaredConstructor().newInstance();
            int width = tag.size("width", DEFAULT_WIDTH);
            int height = tag.size("height", DEFAULT_HEIGHT);

            Frame frame = new Frame("Applet: " + className);
            Stub stub = new Stub(this, tag, page, codeBase, applet, frame);
            Shown entry = new Shown(applet, stub, frame);
            applet.setStub(stub);
            applet.setPreferredSize(new Dimension(width, height));
            applet.setSize(width, height);
            frame.add(applet, BorderLayout.CENTER);
            frame.add(entry.status, BorderLayout.SOUTH);
            frame.addWindowListener(new WindowAdapter() {
                @Override
                public void windowClosing(WindowEvent event) {
                    close(entry);
                    if (shown.isEmpty()) {
                        System.exit(0);
                    }
                }
            });
            frame.pack();
            shown.add(entry);
            frame.setVisible(true);
            applet.init();
            stub.active = true;
            applet.start();
            applet.validate();
            if (check) {
                System.out.println("Applet " + className + " started " + applet.getWidth() + "x"
                        + applet.getHeight());
            }
        }

        void close(Shown entry) {
            if (!shown.remove(entry)) {
                return;
            }
            entry.stub.active = false;
            entry.applet.stop();
            entry.applet.destroy();
            entry.frame.dispose();
        }

        void closeAll() {
            while (!shown.isEmpty()) {
                close(shown.get(0));
            }
        }

        @Override
        public AudioClip getAudioClip(URL url) {
            return Applet.newAudioClip(url);
        }

        @Override
        public Image getImage(URL url) {
            return Toolkit.getDefaultToolkit().getImage(url);
        }

        @Override
        public Applet getApplet(String name) {
            for (Shown entry : shown) {
                if (name != null && name.equals(entry.stub.tag.attributes.get("name"))) {
                    return entry.applet;
                }
            }
            return null;
        }

        @Override
        public Enumeration<Applet> getApplets() {
            List<Applet> applets = new ArrayList<>();
            for (Shown entry : shown) {
                applets.add(entry.applet);
            }
            return Collections.enumeration(applets);
        }

        @Override
        public void showDocument(URL url) {
            try {
                if (Desktop.isDesktopSupported()
                        && Desktop.getDesktop().isSupported(Desktop.Action.BROWSE)) {
                    Desktop.getDesktop().browse(url.toURI());
                    return;
                }
            } catch (Exception e) {
                // Reported below like a desktop that cannot browse.
            }
            System.out.println("Document: " + url);
        }

        @Override
        public void showDocument(URL url, String target) {
            showDocument(url);
        }

        @Override
        public void showStatus(String text) {
            for (Shown entry : shown) {
                entry.status.setText(text == null || text.isEmpty() ? " " : text);
            }
        }

        @Override
        public void setStream(String key, InputStream stream) {
            if (stream == null) {
                streams.remove(key);
            } else {
                streams.put(key, stream);
            }
        }

        @Override
        public InputStream getStream(String key) {
            return streams.get(key);
        }

        @Override
        public Iterator<String> getStreamKeys() {
            return new ArrayList<>(streams.keySet()).iterator();
        }
    }

    /** What one applet knows of its page. */
    static final class Stub implements AppletStub {
        private final Context context;
        private final AppletTag tag;
        private final URL page;
        private final URL codeBase;
        private final Applet applet;
        private final Frame frame;
        volatile boolean active;

        Stub(Context context, AppletTag tag, URL page, URL codeBase, Applet applet, Frame frame) {
            this.context = context;
            this.tag = tag;
            this.page = page;
            this.codeBase = codeBase;
            this.applet = applet;
            this.frame = frame;
        }

        @Override
        public boolean isActive() {
            return active;
        }

        @Override
        public URL getDocumentBase() {
            return page;
        }

        @Override
        public URL getCodeBase() {
            return codeBase;
        }

        /** PARAM values first, then the tag's own attributes; names in any case. */
        @Override
        public String getParameter(String name) {
            String key = name.toLowerCase(Locale.ROOT);
            String value = tag.parameters.get(key);
            return value != null ? value : tag.attributes.get(key);
        }

        @Override
        public AppletContext getAppletContext() {
            return context;
        }

        @Override
        public void appletResize(int width, int height) {
            applet.setPreferredSize(new Dimension(width, height));
            frame.pack();
        }
    }
}
