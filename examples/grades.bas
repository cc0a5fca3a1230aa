' 成绩等级：SELECT CASE 的范围和列表
input "请输入分数（0-100）："; score
select case score
case 90 to 100
    print "优秀"
case 80 to 89
    print "良好"
case 60 to 79
    print "及格"
case else
    print "不及格，继续加油"
end select

input "今天星期几（1-7）？"; d
select case d
case 6, 7
    print "周末，休息！"
case 1, 2, 3, 4, 5
    print "工作日，上学去"
case else
    print "没有这一天"
end select
