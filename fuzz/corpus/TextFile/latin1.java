// café
class A {}
