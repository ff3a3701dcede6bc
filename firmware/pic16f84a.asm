; TALVEN interpreter firmware for the PIC16F84A: its RAM map in 68 bytes, its set-up
; and EEPROM read, with the Timer 0 tick.
; The processor, configuration word, memory map and tick period are the chip's row
; of src/model/chips.h, which the build writes into pic16f84a_chip.inc.

        #include "pic16f84a_chip.inc"
        errorlevel -302                 ; bank 1 registers are reached on purpose

; The interpreter's state fills the RAM below the bit map, which both banks share.
        cblock ram_start
        pointer_low                     ; next program word
        pointer_high
        code
        operand
        flags
        current_byte                    ; the step opened last: its byte in the bit map
        current_mask                    ;   and its bit
        scratch
        isr_w
        isr_status
        passes_left
        ticks                           ; counted by the interrupt
        elapsed
        trisa_copy
        trisb_copy
        running                         ; timers counting since their enable
        timer_mask
        timer_pointer
        wait_low                        ; ticks a starting timer waits
        wait_high
        endc

; The rest lies in bytes 21..31 of the bit map, which no name of this chip reaches.
        cblock 0x35
        limit_low                       ; action part start + 1: an order at or past it acts
        limit_high
        tick_countdown                  ; interrupts until the next tick
        endc
timer_records   equ 0x38                ; two timers of four bytes, up to 0x3F
eeprom_address  equ passes_left         ; used only at start-up

        #include "tmr0_tick.inc"

; Without PCON a power-up cannot be told from a reset: every reset starts the chart,
; and the guard words at the end of memory stop a chip that runs off an erased area.
reset_check macro
        ; nothing to check                (gpasm fails on an empty macro)
        endm

; Bank 0 selected on entry and on exit: this chip has no analog functions.
chip_setup macro
        ; nothing to set up
        endm

; W = EEPROM byte at address W. Leaves bank 0 selected.
eeprom_read macro
        movwf   EEADR
        bsf     STATUS, RP0
        bsf     EECON1, RD
        bcf     STATUS, RP0
        movf    EEDATA, w
        endm

        #include "interpreter.inc"
