' 逻辑运算真值表：AND、OR、XOR 和 NOT（1 表示成立，0 表示不成立）
print "a", "b", "a and b", "a or b", "a xor b", "not a"
for a = 0 to 1
    for b = 0 to 1
        print a, b, (a and b), (a or b), (a xor b), (not a)
    next
next
