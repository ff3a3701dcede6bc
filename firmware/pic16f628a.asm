; TALVEN interpreter firmware for the PIC16F628A: 18 pins, 2K words, internal
; 4 MHz oscillator, PORTA and PORTB, eight timers ticked by Timer 1 and CCP1.

        list    p=16f628a, r=dec
        #include <p16f628a.inc>
        errorlevel -302                 ; bank 1 registers are reached on purpose

        __config _INTOSC_OSC_NOCLKOUT & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _CP_OFF

program_area    equ 0x400               ; first word of the compiled program
program_end     equ 0x800               ; the word after the last one
port_count      equ 2
timer_count     equ 8
tick_cycles     equ 10000               ; 10 ms at 4 MHz
ram_start       equ 0x20                ; cleared at start-up up to 0x7F

        #include "chip_common.inc"
        #include "ccp_tick.inc"

; Bank 0 selected on entry and on exit.
chip_setup macro
        movlw   7                       ; comparators off, or RA0..RA3 read 0
        movwf   CMCON
        endm

; W = EEPROM byte at address W. Leaves bank 0 selected.
eeprom_read macro
        bsf     STATUS, RP0
        movwf   EEADR
        bsf     EECON1, RD
        movf    EEDATA, w
        bcf     STATUS, RP0
        endm

        #include "interpreter.inc"
