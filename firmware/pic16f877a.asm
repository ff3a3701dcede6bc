; TALVEN interpreter firmware for the PIC16F877A: its set-up, with the Timer 1 and
; CCP1 tick.
; The processor, configuration word, memory map and tick period are the chip's row
; of src/model/chips.h, which the build writes into pic16f877a_chip.inc.

        #include "pic16f877a_chip.inc"
        errorlevel -302                 ; registers of banks 1 to 3 are reached on purpose

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
