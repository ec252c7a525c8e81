# A unit whose texts carry markup (an image that names /dev/zero), terminal
# controls, DEL and a lone CP932 lead byte; one whose address has an octal
# part (192.168.1.064 is 192.168.1.52 by inet_addr's reading).
unit evil 192.168.1.50/24 --raw-text "0C01R00:11:22:33:44:50'192.168.1.50','255.255.255.0',\
'<b>gw</b>','<b>\x1b]0;T\x07\x7f\x82','A','','<img src=/dev/zero>\x1b[2J&lt;\
WWWWWWWWWWWWWWWWWWWWW\x82','1','78150744','39075372'"
unit octal 192.168.1.52/24 --identity 00:11:22:33:44:52 --ip 192.168.1.064 --host NAS-OCTAL \
    --disk-model ST380815AS --capacity 78150744 --free 39075372 --delay 600
