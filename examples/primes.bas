' 找出 2 到 50 之间的质数
count = 0
for n = 2 to 50
	isprime = 1
	for k = 2 to n - 1
		if n mod k = 0 then
			isprime = 0
			exit for      ' 已经不是质数了，不用再试
		end if
	next
	if isprime = 1 then
		print n;
		print " ";
		count = count + 1
	end if
next
print ""
print "共有"; count; "个质数"

' WHILE/WEND：从 1 开始累加，直到和超过 100
total = 0
k = 0
while total <= 100
	k = k + 1
	total = total + k
wend
print "加到"; k; "时，和为"; total
