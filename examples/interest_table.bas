' 复利计算表：本金 1000 元，年利率 3.5%，每年的利息都计入本金
principal = 1000
rate = 0.035
money = principal
print "年份", "年末金额", "当年利息"
for year = 1 to 10
    interest = money * rate
    money = money + interest
    print year, money, interest
next
print "十年复利共得利息"; money - principal; "元"
print "单利只得利息"; principal * rate * 10; "元"
print "平均每年利息"; (money - principal) / 10; "元"
