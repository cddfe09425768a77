package app;

import shapes.Shape;

/** Uses of the shapes, for references and definitions across files. */
class Users {
    int total(Square square, Shape shape) {
        int sum = square./*>side*/side() + square.side();
        Shape made = Shape./*>create*/create(3);
        sum += made.tags.size() + Shape.COUNT;
        String text = shape./*>name*/name();
        return sum + text./*>length*/length() + /*>sum*/sum;
    }

    /*>Users*/Users copy() {
        Users other = new /*>newUsers*/Users();
        return other;
    }

    int undocumented() {
        return new Square(2).side();
    }

    int documented(Square square) {
        return (int) square./*>area*/area() + /*>undocumented*/undocumented();
    }
}
