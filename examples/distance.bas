' 两点之间的距离：ABS 求绝对值，SQR 求平方根
input "第一个点的 x 和 y："; x1, y1
input "第二个点的 x 和 y："; x2, y2
dx = x2 - x1
dy = y2 - y1
print "横向相差"; abs(dx); "，纵向相差"; abs(dy)
print "直线距离是"; sqr(dx * dx + dy * dy)
