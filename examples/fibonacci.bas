' 斐波那契数列：WHILE ... WEND
' 打印不超过 1000 的各项，再看相邻两项之比怎样接近黄金分割
a = 0
b = 1
n = 0
while a <= 1000
    print a; " ";
    n = n + 1
    c = a + b
    a = b
    b = c
wend
print ""
print "不超过1000的斐波那契数共有"; n; "个"
print "下一项是"; a; "，再下一项是"; b
print "两项之比"; b / a; "，黄金分割"; (1 + sqr(5)) / 2
