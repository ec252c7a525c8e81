# Two units in the PC's subnet. The second answers first, so the list must
# follow the order of the replies, not of the addresses.
unit u1 192.168.1.50/24 --identity 00:11:22:33:44:50 --ip 192.168.1.50 --host NAS-ALPHA \
    --disk-model ST380815AS --capacity 78150744 --free 39075372 --delay 600
unit u2 192.168.1.51/24 --identity 00:11:22:33:44:51 --ip 192.168.1.51 --host NAS-BETA \
    --disk-model ST3250310AS --capacity 244198584 --free 200000000
