' 温度换算：GOSUB 子程序和 RETURN
print "摄氏", "华氏"
for c = -10 to 40 step 10
    gosub 100
    print c, f
next
input "输入一个华氏温度："; f
gosub 200
print f; " 华氏度 = "; c; " 摄氏度"
end

' 摄氏转华氏：用 c 算出 f
100 f = c * 9 / 5 + 32
return

' 华氏转摄氏：用 f 算出 c
200 c = (f - 32) * 5 / 9
return
