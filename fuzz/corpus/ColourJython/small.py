print "a\\"b" # c
if x: pass
