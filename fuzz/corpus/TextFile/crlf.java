package a.b;
class A {
}
