import java.applet.Applet;
import java.awt.Graphics;

/** A small applet: shown by its page, AppletDemo.html. */
public class AppletDemo extends Applet {
    private String message = "Hello from an applet";

    public void init() {
        String text = getParameter("message");
        if (text != null) {
            message = text;
        }
    }

    public void paint(Graphics g) {
        g.drawString(message, 20, 40);
    }
}
