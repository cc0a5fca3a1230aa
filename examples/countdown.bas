' 倒计时：FOR 的负步长（STEP -1）和 END
for t = 5 to 1 step -1
    print t; "...";
next
print "发射！"
end
print "END 后面的这一行不会执行"
