' 提前离开循环：EXIT FOR 和 EXIT DO
' 第一个同时是 7 和 11 的倍数的三位数
found = 0
for n = 100 to 999
    if n mod 7 = 0 and n mod 11 = 0 then
        found = n
        exit for
    end if
next
print "第一个同时是7和11倍数的三位数："; found

' 每个数的最小质因数：EXIT FOR 只离开最里面的那层循环
for n = 91 to 95
    for f = 2 to n
        if n mod f = 0 then exit for
    next
    print n; "的最小质因数是"; f
next

' 平方数累加，和超过 500 之前停下
total = 0
k = 0
do while 1
    k = k + 1
    if total + k * k > 500 then exit do
    total = total + k * k
loop
print "1到"; k - 1; "的平方和是"; total; "，再加"; k; "的平方就超过500了"
