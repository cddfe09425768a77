package com.example.hello;

import com.example.util.Greeting;

/** Greets the names given as arguments, or the world. */
public class HelloApp {
    public static void main(String[] args) {
        if (args.length == 0) {
            System.out.println(Greeting.of("world"));
            return;
        }
        for (String name : args) {
            System.out.println(Greeting.of(name));
        }
    }
}
