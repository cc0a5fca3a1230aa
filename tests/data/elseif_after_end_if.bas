input "输入一个数："; x
if x > 0 then
    print "正数"
end if
elseif x < 0 then
    print "负数"
end if
