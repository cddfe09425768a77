# A small Jython tool: imports, classes, functions and strings.
import sys
from java.lang import System, Math

class Counter:
    "Counts words; the keywords in this string stay strings: if for while"
    def __init__(self, start=0):
        self.count = start   # the counter

    def add(self, words):
        for w in words:
            if len(w) > 0 and not w.startswith("#"):
                self.count = self.count + 1
        return self.count

def area(r):
    return pi * r * r   # pi is a keyword, so is e
    print "a \"quoted\" word", "a\\"  # a backslash escapes the character after it
    print 'single quotes # make strings too', """and triple ones
    go on over lines # like this""", '''both
    kinds'''

def main(args):
    c = Counter()
    c.add(["one", "two", "thr#ee"])
    print "total:", c.count, str(sqrt(16)), abs(-3), xrange(3)
    if c.count >= 3: print "many"
    elif c.count == 0:
        pass
    else:
        raise ValueError("few")
    lambda x: x*x
    log10(100); int2 = 5; my_int = 6; self_ = 7

if __name__ == "__main__":
    main(sys.argv)
