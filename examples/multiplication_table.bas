' 九九乘法表：两层 FOR 循环
for i = 1 to 9
    for j = 1 to i
        print j; "×"; i; "="; i * j,
    next
    print ""
next
print "打印完毕"
