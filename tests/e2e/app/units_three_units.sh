# The demo's units: one in the PC's subnet, one outside it (answering by
# broadcast), one with a Japanese host name and no disk model.
unit office 192.168.1.50/24 --identity 00:0D:0B:7A:10:50 --ip 192.168.1.50 \
    --host NAS-OFFICE --disk-model ST3250310AS --capacity 244198584 --free 97679433
unit remote 10.10.0.20/24 --identity 00:0D:0B:7A:10:20 --ip 10.10.0.20 --mask 255.255.255.0 \
    --gateway 10.10.0.1 --host NAS-REMOTE --disk-model ST380815AS --capacity 78150744 \
    --free 70000000 --broadcast --delay 300
unit keiri 192.168.1.60/24 --identity 00:0D:0B:7A:10:60 --ip 192.168.1.60 \
    --host 経理部NAS --disk-model '' --delay 600
