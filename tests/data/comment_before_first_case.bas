input "输入月份："; m
select case m
' 春夏秋冬
case 3, 4, 5
    print "春天"
case else
    print "其他季节"
end select
