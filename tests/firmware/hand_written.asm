; The logic of "l RA0 a RA1 = RB0" written by hand, on the same port images as the
; interpreter, to compare its cost with the interpreted orders.
        list    p=16f628a, r=dec
        #include <p16f628a.inc>
        __config _INTOSC_OSC_NOCLKOUT & _WDT_OFF & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF

image_ra        equ 0x28
image_rb        equ 0x29

        org     0
        movlw   7
        movwf   CMCON
        bsf     STATUS, RP0
        clrf    TRISB
        bcf     STATUS, RP0
        clrf    image_rb
logic
        movf    PORTA, w
        movwf   image_ra
        btfss   image_ra, 0
        goto    clear
        btfss   image_ra, 1
        goto    clear
        bsf     image_rb, 0
        goto    write
clear
        bcf     image_rb, 0
write
        movf    image_rb, w
        movwf   PORTB
        goto    logic
        end
