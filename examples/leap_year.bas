' 闰年判断：AND、OR、NOT、MOD 和一行的 IF ... ELSE；输入 0 结束
do while 1
    input "输入年份（0 结束）："; year
    if year = 0 then exit do
    leap = (year mod 4 = 0 and year mod 100 <> 0) or year mod 400 = 0
    if leap then print year; "年是闰年" else print year; "年不是闰年"
    if not leap then print "  这一年的二月有 28 天"
loop
print "再见"
