print "你好，世界"
if 1 then print "中文" else print "英文"
