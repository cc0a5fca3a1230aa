' 用 STOP 暂停：按 F9 运行，到 STOP 时打开调试窗口，可以看 i 和 total 的值，再按“继续”
' （用 tarnik-cli 运行时 STOP 不起作用）
total = 0
for i = 1 to 5
    total = total + i * i
    if i = 3 then stop
next
print "1 到 5 的平方和是"; total
