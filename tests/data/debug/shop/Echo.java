package shop;

import java.io.BufferedReader;
import java.io.InputStreamReader;

/** Waits for a line on its input and writes it back. */
public class Echo {
    public static void main(String[] args) throws Exception {
        System.out.print("name? ");
        System.out.flush();
        String line = new BufferedReader(new InputStreamReader(System.in)).readLine();
        System.out.println("hello " + line);
        System.err.println("bye");
    }
}
