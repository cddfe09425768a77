package p;
class A {
 class B {
  void f(int a,
		int b) {}
 }
 void g() { s = "}"; }
}
