' 简单菜单：GOSUB 子程序、RETURN 和 GOTO 行号
10 print "1. 求平方   2. 求立方   0. 退出"
input "请选择："; choice
if choice = 0 then goto 90
if choice = 1 then gosub 100
if choice = 2 then gosub 200
goto 10

90 print "再见！"
end

100 input "输入一个数："; x
print x; "的平方是"; x * x
return

200 input "输入一个数："; x
print x; "的立方是"; x ^ 3
return
