; TALVEN interpreter firmware for the PIC16F628A: its set-up and EEPROM read, with
; the Timer 1 and CCP1 tick.
; The processor, configuration word, memory map and tick period are the chip's row
; of src/model/chips.h, which the build writes into pic16f628a_chip.inc.

        #include "pic16f628a_chip.inc"
        errorlevel -302                 ; bank 1 registers are reached on purpose

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
