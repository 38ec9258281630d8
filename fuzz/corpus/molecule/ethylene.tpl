[Atom]=1-1,2-1
[Bond]=1-2
