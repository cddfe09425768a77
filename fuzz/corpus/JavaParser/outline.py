class A(B):
	def f(self, x):
		return x
def g():
  pass
