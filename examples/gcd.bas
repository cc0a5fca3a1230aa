' 最大公约数和最小公倍数：辗转相除法（DO WHILE ... LOOP 和 mod）
input "请输入第一个正整数："; a
input "请输入第二个正整数："; b
x = a
y = b
steps = 0
do while y <> 0
    r = x mod y
    print x; " = "; (x - r) / y; " × "; y; " + "; r
    x = y
    y = r
    steps = steps + 1
loop
print a; "和"; b; "的最大公约数是"; x; "，共做了"; steps; "次除法"
print "最小公倍数是"; a / x * b
