' 猜数字游戏：DO ... LOOP UNTIL，IF / ELSEIF / ELSE
secret = 37
tries = 0
do
    input "猜一个 1 到 100 之间的数："; guess
    tries = tries + 1
    if guess > secret then
        print "大了"
    elseif guess < secret then
        print "小了"
    else
        print "猜对了！你用了"; tries; "次"
        exit do
    end if
    if tries >= 7 then print "次数用完了，答案是"; secret else print "再试一次"
    ' LOOP UNTIL 在条件成立时回到 DO
loop until tries < 7
print "游戏结束"
