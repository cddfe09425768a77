/* package x; */ package a.b ;
// {
class A
	extends B
{
  /* } */ // {
  void f() {}
}
