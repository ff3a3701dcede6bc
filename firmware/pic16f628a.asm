; TALVEN interpreter firmware for the PIC16F628A.
;
; Runs the program that TALVEN compiles into the program area (0x400 up to
; 0x7FF) as a table of RETLW words: two words per order, the order code and
; the operand, a bit address 0..255 into the bit map below. Code 12 ends it.
;
; Each scan samples the input pins, then runs passes over the whole program
; with the inputs frozen until a pass fires no transition (at most 16 passes),
; then writes the port images to the pins and updates the timers.
;
; The action part is every order after the last "*", "-" or ">". Its "="
; orders write only in the pass that finds the situation stable, or in one
; more run of the action part once the pass cap is reached; in a pass that
; fired they write timer enable bits only, so a timer whose step is left for
; one pass restarts.

        list    p=16f628a, r=dec
        #include <p16f628a.inc>
        errorlevel -302                 ; bank 1 registers are reached on purpose

        __config _INTOSC_OSC_NOCLKOUT & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _CP_OFF

program_area    equ 0x400               ; first word of the compiled program
end_code        equ 12                  ; order code that ends the program
pass_cap        equ 16                  ; passes of one scan at most
tick_cycles     equ 10000               ; 10 ms at 4 MHz

; The bit map: bit address n is bit n%8 of byte bit_map + n/8.
bit_map         equ 0x20                ; 32 bytes, every operand 0..255 lands inside
steps           equ bit_map + 0         ; x0..x63
steps_end       equ bit_map + 8
image_ra        equ bit_map + 8         ; RA0..RA7
image_rb        equ bit_map + 9         ; RB0..RB7
                                        ; M0..M63 at bytes 10..17
timer_enable    equ bit_map + 18        ; TE0..TE7
timer_done      equ bit_map + 19        ; T0..T7
scan_status     equ bit_map + 20        ; UNSTABLE, bit address 160
unstable        equ 0                   ;   the scan reached the pass cap

; The step changes of one pass, applied together when the pass ends.
activations     equ 0x40                ; 8 bytes, one bit per step
deactivations   equ activations + 8     ; 8 bytes
activation_offset equ activations - steps
deactivation_offset equ deactivations - steps

; Eight timers of four bytes in bank 1, reached through FSR only:
; ticks still to wait (low, high), preset (low, high).
timer_records   equ 0xA0
timer_count     equ 8

        cblock 0x50
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
        eeprom_address
        limit_low                       ; action part start + 1: an order at or past it acts
        limit_high
        endc

; The interpreter's own state and the interrupt's saves, in the RAM shared by all banks.
        cblock 0x70
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
        endc

; flags
result          equ 0                   ; the result of the current expression
step_active     equ 1                   ; the opened step was active when the pass began
fired           equ 2                   ; a transition fired in this pass

; EEPROM: the pin directions, then the timer presets, high byte first.
eeprom_trisa    equ 0
eeprom_trisb    equ 1
eeprom_presets  equ 2

; ---------------------------------------------------------------------------
        org     0
        goto    start

        org     4
; The 10 ms tick: Timer 1 is reset by the compare unit every tick_cycles.
interrupt
        movwf   isr_w
        swapf   STATUS, w
        movwf   isr_status
        clrf    STATUS
        bcf     PIR1, CCP1IF
        incf    ticks, f
        swapf   isr_status, w
        movwf   STATUS
        swapf   isr_w, f
        swapf   isr_w, w
        retfie

; Reads the program word at PCLATH:W. The RETLW found there returns to the caller.
read_word
        movwf   PCL

; Fetches the next order and jumps to its handler, chosen by the order code and
; the operand's bit number, with FSR on the operand's byte of the bit map.
next
        movf    pointer_high, w
        movwf   PCLATH
        movf    pointer_low, w
        call    read_word
        movwf   code                    ; 0..12: the check at power-up stopped on any other
        incf    pointer_low, w          ; an order starts at an even address: no carry
        call    read_word
        movwf   operand
        movwf   FSR
        incf    pointer_low, f
        incfsz  pointer_low, f
        goto    decode
        incf    pointer_high, f
decode
        rrf     FSR, f
        rrf     FSR, f
        rrf     FSR, w
        andlw   0x1F
        iorlw   bit_map
        movwf   FSR
        swapf   operand, w
        andlw   0x70
        iorwf   code, w
        clrf    PCLATH
        addwf   PCL, f
dispatch_table
bit     set     0
        while   bit < 8
        goto    load_#v(bit)
        goto    load_not_#v(bit)
        goto    and_#v(bit)
        goto    and_not_#v(bit)
        goto    or_#v(bit)
        goto    or_not_#v(bit)
        goto    xor_#v(bit)
        goto    xor_not_#v(bit)
        goto    assign_#v(bit)
        goto    step_#v(bit)            ; "*": an initial step opens its block like any step
        goto    step_#v(bit)
        goto    transition_#v(bit)
        goto    end_of_pass
        goto    stop_chip               ; codes 13 to 15 do not exist; never reached
        goto    stop_chip
        goto    stop_chip
bit     set     bit + 1
        endw
        if      $ > 0x100
        error   "the dispatch table must lie in the first 256 words"
        endif

; One handler per order and bit number, so the bit is tested by a single instruction.
handlers macro  b
load_#v(b)
        bcf     flags, result
        btfsc   INDF, b
        bsf     flags, result
        goto    next
load_not_#v(b)
        bsf     flags, result
        btfsc   INDF, b
        bcf     flags, result
        goto    next
and_#v(b)
        btfss   INDF, b
        bcf     flags, result
        goto    next
and_not_#v(b)
        btfsc   INDF, b
        bcf     flags, result
        goto    next
or_#v(b)
        btfsc   INDF, b
        bsf     flags, result
        goto    next
or_not_#v(b)
        btfss   INDF, b
        bsf     flags, result
        goto    next
xor_#v(b)
        movlw   1 << result
        btfsc   INDF, b
        xorwf   flags, f
        goto    next
xor_not_#v(b)
        movlw   1 << result
        btfss   INDF, b
        xorwf   flags, f
        goto    next
assign_#v(b)
        btfsc   flags, fired
        goto    assign_held_#v(b)
assign_now_#v(b)
        btfss   flags, result
        bcf     INDF, b
        btfsc   flags, result
        bsf     INDF, b
        goto    next
assign_held_#v(b)
        call    action_held
        btfss   STATUS, C
        goto    assign_now_#v(b)
        goto    next
step_#v(b)
        movlw   1 << b
        goto    open_step
transition_#v(b)
        btfss   flags, result
        goto    result_one
        btfss   flags, step_active
        goto    next
        movlw   1 << b
        goto    fire
        endm

bit     set     0
        while   bit < 8
        handlers bit
bit     set     bit + 1
        endw

; "*" or "-": the following transitions leave this step. W holds its bit.
open_step
        movwf   current_mask
        bsf     flags, result
        bcf     flags, step_active
        andwf   INDF, w
        btfss   STATUS, Z
        bsf     flags, step_active
        movf    FSR, w
        movwf   current_byte
        goto    next

; ">" whose condition holds while its step was active: deactivate the current
; step and activate the operand's step when the pass ends. W holds its bit.
; Only step variables take part; any other operand makes the order do nothing.
fire
        movwf   scratch
        movlw   steps_end
        subwf   FSR, w
        btfsc   STATUS, C
        goto    next
        movlw   steps_end
        subwf   current_byte, w
        btfsc   STATUS, C
        goto    next
        movlw   activation_offset
        addwf   FSR, f
        movf    scratch, w
        iorwf   INDF, f
        movf    current_byte, w
        addlw   deactivation_offset
        movwf   FSR
        movf    current_mask, w
        iorwf   INDF, f
        bsf     flags, fired
        goto    next

; A ">" whose condition failed still leaves the result at 1 for the next one.
result_one
        bsf     flags, result
        goto    next

; An "=" in a pass that fired: C set when it must write nothing, that is when
; it lies in the action part and its operand is no timer enable bit.
action_held
        movf    FSR, w
        xorlw   timer_enable
        btfsc   STATUS, Z
        goto    action_performed
        movf    limit_low, w            ; C = pointer >= limit: the order lies in the action part
        subwf   pointer_low, w
        movf    limit_high, w
        btfss   STATUS, C
        incf    limit_high, w
        subwf   pointer_high, w
        return
action_performed
        bcf     STATUS, C
        return

; ---------------------------------------------------------------------------
; Start-up: every bit 0, pins and timers set from the EEPROM, initial situation.
; Address 0 is reached by a reset, or by running off the end of memory through
; an erased program area: PCON's POR bit stays set and STATUS's TO bit too.
start
        clrf    STATUS
        clrf    PORTA
        clrf    PORTB
        bsf     STATUS, RP0
        btfss   PCON, NOT_POR
        goto    powered_up
        btfsc   STATUS, NOT_TO          ; a watchdog reset starts the chart again
        goto    stop_chip
powered_up
        bsf     PCON, NOT_POR
        movlw   0xFF                    ; prescaler 1:128 to the watchdog: at least 0.9 s, 2.3 s nominal
        movwf   OPTION_REG
        bcf     STATUS, RP0
        clrwdt
        movlw   7                       ; comparators off, or RA0..RA3 read 0
        movwf   CMCON
        movlw   0x20
        movwf   FSR
clear_ram
        clrf    INDF
        incf    FSR, f
        btfss   FSR, 7
        goto    clear_ram

        movlw   eeprom_trisa
        call    read_eeprom
        movwf   trisa_copy
        movlw   eeprom_trisb
        call    read_eeprom
        movwf   trisb_copy
        movf    trisa_copy, w
        bsf     STATUS, RP0
        movwf   TRISA
        bcf     STATUS, RP0
        movf    trisb_copy, w
        bsf     STATUS, RP0
        movwf   TRISB
        bcf     STATUS, RP0

        call    check_program           ; stops here on a program that cannot run

        movlw   timer_records + 2       ; presets, high byte first in the EEPROM
        movwf   FSR
        movlw   eeprom_presets
        movwf   eeprom_address
load_presets
        movf    eeprom_address, w
        call    read_eeprom
        incf    FSR, f
        movwf   INDF                    ; preset high
        incf    eeprom_address, f
        movf    eeprom_address, w
        call    read_eeprom
        decf    FSR, f
        movwf   INDF                    ; preset low
        incf    eeprom_address, f
        movlw   4
        addwf   FSR, f
        movlw   timer_records + 4 * timer_count + 2
        xorwf   FSR, w
        btfss   STATUS, Z
        goto    load_presets

        clrf    TMR1L
        clrf    TMR1H
        movlw   low tick_cycles
        movwf   CCPR1L
        movlw   high tick_cycles
        movwf   CCPR1H
        movlw   0x0B                    ; compare, special event: resets Timer 1
        movwf   CCP1CON
        movlw   0x01                    ; Timer 1 on, internal clock, no prescaler
        movwf   T1CON
        bsf     STATUS, RP0
        bsf     PIE1, CCP1IE
        bcf     STATUS, RP0
        bcf     PIR1, CCP1IF
        movlw   (1 << GIE) | (1 << PEIE)
        movwf   INTCON

; ---------------------------------------------------------------------------
scan
        clrwdt
        bcf     scan_status, unstable
        movf    PORTA, w                ; inputs into the images, outputs kept
        andwf   trisa_copy, w
        movwf   scratch
        comf    trisa_copy, w
        andwf   image_ra, w
        iorwf   scratch, w
        movwf   image_ra
        movf    PORTB, w
        andwf   trisb_copy, w
        movwf   scratch
        comf    trisb_copy, w
        andwf   image_rb, w
        iorwf   scratch, w
        movwf   image_rb
        movlw   pass_cap
        movwf   passes_left
pass
        clrf    pointer_low
        movlw   high program_area
        movwf   pointer_high
        movlw   1 << result             ; no step opened, nothing fired yet
        movwf   flags
        goto    next

end_of_pass
        btfss   flags, fired
        goto    stable
        movf    timer_enable, w         ; a timer whose enable is 0 now starts afresh
        andwf   timer_done, f
        andwf   running, f
byte    set     0
        while   byte < 8
        comf    deactivations + byte, w ; an activation wins over a deactivation
        andwf   steps + byte, f
        movf    activations + byte, w
        iorwf   steps + byte, f
        clrf    activations + byte
        clrf    deactivations + byte
byte    set     byte + 1
        endw
        decfsz  passes_left, f
        goto    pass
        bsf     scan_status, unstable   ; the cap: the action part once on the situation reached
        decf    limit_low, w
        movwf   pointer_low
        movf    limit_high, w
        movwf   pointer_high
        movlw   1 << result
        movwf   flags
        goto    next
stable
        movf    image_ra, w
        movwf   PORTA
        movf    image_rb, w
        movwf   PORTB
        call    update_timers
        goto    scan

; ---------------------------------------------------------------------------
; The timers, once per scan. An enable bit at 0 clears the done bit and stops
; the count. A timer counts the ticks after the update that saw it enabled and
; is done once they exceed its preset, since the first of them may come at
; once: its done bit never rises early and rises at most one tick late.
update_timers
        movf    ticks, w
        movwf   elapsed
        subwf   ticks, f                ; ticks counted meanwhile stay for the next scan
        movf    timer_enable, w
        andwf   timer_done, f
        andwf   running, f
        movlw   timer_records
        movwf   timer_pointer
        movlw   1
        movwf   timer_mask
timer_loop
        movf    timer_mask, w
        andwf   timer_enable, w
        btfss   STATUS, Z
        call    update_timer
        movlw   4
        addwf   timer_pointer, f
        bcf     STATUS, C
        rlf     timer_mask, f
        btfss   STATUS, C
        goto    timer_loop
        return

; One enabled timer: timer_pointer on its record, timer_mask its bit.
update_timer
        movf    timer_pointer, w
        movwf   FSR
        movf    timer_mask, w
        andwf   running, w
        btfss   STATUS, Z
        goto    count_down
        movf    timer_mask, w
        iorwf   running, f
        incf    FSR, f                  ; just enabled: the preset is the wait
        incf    FSR, f
        movf    INDF, w
        movwf   wait_low
        incf    FSR, f
        movf    INDF, w
        movwf   wait_high
        movf    timer_pointer, w
        movwf   FSR
        movf    wait_low, w
        movwf   INDF
        iorwf   wait_high, w
        btfsc   STATUS, Z
        goto    timer_ends              ; a preset of 0 ends at once
        incf    FSR, f
        movf    wait_high, w
        movwf   INDF
        return
count_down
        movf    elapsed, w
        subwf   INDF, f                 ; low byte
        incf    FSR, f
        btfsc   STATUS, C
        return
        movf    INDF, f                 ; borrow from the high byte
        btfsc   STATUS, Z
        goto    timer_ends              ; below zero: more ticks than the preset
        decf    INDF, f
        return
timer_ends
        movf    timer_pointer, w
        movwf   FSR
        clrf    INDF
        incf    FSR, f
        clrf    INDF
        movf    timer_mask, w
        iorwf   timer_done, f
        return

; ---------------------------------------------------------------------------
; Reads the whole program once before the first scan: activates every step
; opened by "*" (code 9) with a step variable, and finds where the action part
; begins. A code above 12, or a program area without an end, stops the chip.
check_program
        clrf    pointer_low
        movlw   high program_area
        movwf   pointer_high
        movlw   low (program_area + 1)  ; no "*", "-" or ">": everything is the action part
        movwf   limit_low
        movlw   high (program_area + 1)
        movwf   limit_high
check_order
        movlw   high (program_area + 0x400)
        xorwf   pointer_high, w
        btfsc   STATUS, Z
        goto    stop_chip               ; past the last word: no end order
        movf    pointer_high, w
        movwf   PCLATH
        movf    pointer_low, w
        call    read_word
        movwf   code
        incf    pointer_low, w
        call    read_word
        movwf   operand
        clrf    PCLATH
        movlw   2
        addwf   pointer_low, f
        btfsc   STATUS, C
        incf    pointer_high, f
        movlw   end_code
        subwf   code, w
        btfsc   STATUS, Z
        return
        btfsc   STATUS, C
        goto    stop_chip               ; no such order
        movlw   9                       ; "*", "-" or ">": the action part starts after it
        subwf   code, w
        btfss   STATUS, C
        goto    check_order
        movf    pointer_low, w
        movwf   limit_low
        incf    limit_low, f
        movf    pointer_high, w
        movwf   limit_high
        movlw   9
        xorwf   code, w
        btfss   STATUS, Z
        goto    check_order
        movlw   8 * (steps_end - steps)
        subwf   operand, w
        btfsc   STATUS, C
        goto    check_order             ; "*" of another variable activates nothing
        movf    operand, w              ; the step's byte and bit
        movwf   FSR
        rrf     FSR, f
        rrf     FSR, f
        rrf     FSR, w
        andlw   0x1F
        iorlw   bit_map
        movwf   FSR
        movlw   1
        movwf   scratch
        movf    operand, w
        andlw   7
        movwf   code
shift_bit
        movf    code, f
        btfsc   STATUS, Z
        goto    set_bit
        bcf     STATUS, C
        rlf     scratch, f
        decf    code, f
        goto    shift_bit
set_bit
        movf    scratch, w
        iorwf   INDF, f
        goto    check_order

; A program that cannot run: outputs off, nothing more until the power goes.
stop_chip
        clrf    STATUS
        clrf    INTCON
        clrf    PORTA
        clrf    PORTB
        clrwdt
        sleep
        goto    stop_chip

; W = EEPROM byte at address W. Leaves bank 0 selected.
read_eeprom
        bsf     STATUS, RP0
        movwf   EEADR
        bsf     EECON1, RD
        movf    EEDATA, w
        bcf     STATUS, RP0
        return

        if      $ > program_area
        error   "the interpreter must end below the program area"
        endif

; An empty program until TALVEN compiles one here.
        org     program_area
        retlw   end_code
        retlw   0

; EEPROM defaults: PORTA inputs, PORTB outputs, every preset 1 s.
        org     0x2100
        de      0xFF, 0x00
        de      0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100

        end
