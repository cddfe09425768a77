package com.example.util;

/** Builds the greeting text. */
public final class Greeting {
    private Greeting() {
    }

    public static String of(String name) {
        return "Hello, " + name + "!";
    }
}
