; TALVEN interpreter firmware for the PIC16F877A: 40 pins, 8K words, a 4 MHz
; crystal, PORTA to PORTE, eight timers ticked by Timer 1 and CCP1.

        list    p=16f877a, r=dec
        #include <p16f877a.inc>
        errorlevel -302                 ; registers of banks 1 to 3 are reached on purpose

        __config _XT_OSC & _WDT_ON & _PWRTE_ON & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _WRT_OFF & _DEBUG_OFF & _CP_OFF

program_area    equ 0x400               ; first word of the compiled program
program_end     equ 0x2000              ; the word after the last one
port_count      equ 5
timer_count     equ 8
tick_cycles     equ 10000               ; 10 ms at 4 MHz
ram_start       equ 0x20                ; cleared at start-up up to 0x7F

        #include "chip_common.inc"
        #include "ccp_tick.inc"
        #include "eeprom_high_banks.inc"

; Bank 0 selected on entry and on exit.
chip_setup macro
        bsf     STATUS, RP0
        movlw   0x06                    ; analog inputs off: PORTA and PORTE digital
        movwf   ADCON1
        movlw   7                       ; comparators off
        movwf   CMCON
        bcf     STATUS, RP0
        endm

        #include "interpreter.inc"
