; TALVEN interpreter firmware for the PIC16F887: its set-up, with the Timer 1 and
; CCP1 tick.
; The processor, configuration word, memory map and tick period are the chip's row
; of src/model/chips.h, which the build writes into pic16f887_chip.inc.

        #include "pic16f887_chip.inc"
        errorlevel -302                 ; registers of banks 1 to 3 are reached on purpose

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
