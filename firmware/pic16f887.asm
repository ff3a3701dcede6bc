; TALVEN interpreter firmware for the PIC16F887: 40 pins, 8K words, internal
; 4 MHz oscillator, PORTA to PORTE, eight timers ticked by Timer 1 and CCP1.

        list    p=16f887, r=dec
        #include <p16f887.inc>
        errorlevel -302                 ; registers of banks 1 to 3 are reached on purpose

        ; CONFIG2 stays erased: brown-out level 4 V (brown-out is off) and no write protection.
        __config _CONFIG1, _INTRC_OSC_NOCLKOUT & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _CP_OFF & _CPD_OFF & _BOR_OFF & _IESO_OFF & _FCMEN_OFF & _LVP_OFF & _DEBUG_OFF

program_area    equ 0x400               ; first word of the compiled program
program_end     equ 0x2000              ; the word after the last one
port_count      equ 5
timer_count     equ 8
tick_cycles     equ 10000               ; 10 ms at 4 MHz
ram_start       equ 0x20                ; cleared at start-up up to 0x7F

        #include "chip_common.inc"
        #include "ccp_tick.inc"
        #include "eeprom_high_banks.inc"

; Bank 0 selected on entry and on exit; the comparators are off from reset.
chip_setup macro
        bsf     STATUS, RP0
        bsf     STATUS, RP1
        clrf    ANSEL                   ; every pin digital
        clrf    ANSELH
        bcf     STATUS, RP0
        bcf     STATUS, RP1
        endm

        #include "interpreter.inc"
