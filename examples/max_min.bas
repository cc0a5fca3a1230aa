' 最大值、最小值和平均值：先输入个数，再用 FOR 循环逐个输入
input "一共有几个数？"; count
if count < 1 then
    print "至少要输入一个数"
    end
end if
for i = 1 to count
    print "第"; i; "个数：";
    input x
    if i = 1 then
        biggest = x
        smallest = x
    else
        if x > biggest then biggest = x
        if x < smallest then smallest = x
    end if
    total = total + x
next
print "最大值："; biggest
print "最小值："; smallest
print "平均值："; total / count
