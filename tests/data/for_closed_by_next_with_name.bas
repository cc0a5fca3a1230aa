' 求 1 到 10 的和（NEXT 后面写了变量名）
sum = 0
for i = 1 to 10
    sum = sum + i
next i

print "和是"; sum

