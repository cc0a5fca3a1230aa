' 倒计时：FOR 的负步长（STEP -1）和 END
for t = 5 to 1 step -1
    print t; "...";
    if t = 1 then
        print "发射！"
        end                ' END 让程序在这里结束
    end if
next
print "END 之后，这一行不会执行"
