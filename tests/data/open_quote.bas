print "开始"
print "少了一个引号
print "结束"
