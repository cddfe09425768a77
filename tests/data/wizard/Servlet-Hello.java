import javax.servlet.*;
import javax.servlet.http.*;
import java.io.*;

public class Hello extends HttpServlet
{

	public void doGet(HttpServletRequest req, HttpServletResponse resp)
					throws ServletException, IOException
	{
		PrintWriter out;

		resp.setContentType("text/html");
		out = resp.getWriter();

		out.println("<h1>Hello World</h1>");
	}

}