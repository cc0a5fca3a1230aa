' 各位数字之和与数字根：DO ... LOOP UNTIL
' 注意：在这门语言里，LOOP UNTIL 的条件成立时回到 DO 再做一遍，
' 条件不成立时才离开循环。所以下面的条件写的是"还要继续"的情况：
' n > 0 表示还有数字没拆完，r >= 10 表示还不是一位数。
input "请输入一个正整数："; number
n = number
sum = 0
digits = 0
do
    d = n mod 10
    sum = sum + d
    digits = digits + 1
    n = (n - d) / 10
loop until n > 0
print number; "是"; digits; "位数，各位数字之和是"; sum

' 数字根：反复求各位数字之和，直到只剩一位
r = number
do
    s = 0
    do
        d = r mod 10
        s = s + d
        r = (r - d) / 10
    loop until r > 0
    r = s
    print "→"; r;
loop until r >= 10
print ""
print number; "的数字根是"; r
