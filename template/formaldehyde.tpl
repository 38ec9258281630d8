[Atom]=1-1,2-4
[Bond]=1-2
