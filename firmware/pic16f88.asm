; TALVEN interpreter firmware for the PIC16F88: 18 pins, 4K words, internal
; 4 MHz oscillator, PORTA and PORTB, eight timers ticked by Timer 1 and CCP1.

        list    p=16f88, r=dec
        #include <p16f88.inc>
        errorlevel -302                 ; registers of banks 1 to 3 are reached on purpose

        ; CONFIG2 stays erased: fail-safe clock monitor and two-speed start-up do not matter here.
        __config _CONFIG1, _INTRC_IO & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _WRT_PROTECT_OFF & _DEBUG_OFF & _CCP1_RB0 & _CP_OFF

program_area    equ 0x400               ; first word of the compiled program
program_end     equ 0x1000              ; the word after the last one
port_count      equ 2
timer_count     equ 8
tick_cycles     equ 10000               ; 10 ms at 4 MHz
ram_start       equ 0x20                ; cleared at start-up up to 0x7F

        #include "chip_common.inc"
        #include "ccp_tick.inc"
        #include "eeprom_high_banks.inc"

; Bank 0 selected on entry and on exit.
chip_setup macro
        bsf     STATUS, RP0
        movlw   0x60                    ; internal oscillator at 4 MHz; it starts at 31.25 kHz
        movwf   OSCCON
        clrf    ANSEL                   ; every pin digital
        movlw   7                       ; comparators off
        movwf   CMCON
        bcf     STATUS, RP0
        endm

        #include "interpreter.inc"
