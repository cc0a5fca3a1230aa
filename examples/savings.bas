' 存钱计划：DO WHILE ... LOOP、EXIT DO 和一次输入两个数
input "每月存多少钱？目标是多少？", monthly, target
saved = 0
months = 0
do while saved < target
    months = months + 1
    saved = saved + monthly
    if months > 600 then
        print "五十年也存不够！"
        exit do
    end if
loop
print "需要"; months; "个月，共存"; saved; "元"

' 倒计时：STEP 为负数
for t = 10 to 1 step -1
    print t;
    print " ";
next
print "出发！"
