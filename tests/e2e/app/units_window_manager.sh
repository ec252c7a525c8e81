# One unit in the PC's subnet whose answer to a setup takes three seconds, so
# that the settings dialog stays busy long enough to be closed meanwhile.
unit u1 192.168.1.50/24 --identity 00:11:22:33:44:50 --ip 192.168.1.50 --host NAS-ALPHA \
    --user admin --password secret --setup-delay 3000
