; TALVEN interpreter firmware for the PIC16F628A.
;
; Runs the program that TALVEN compiles into the program area (0x400 up to
; 0x7FF) as a table of RETLW words: two words per order, the order code and
; the operand, a bit address 0..255 into the bit map below. Code 12 ends it.
;
; Each scan samples the input pins, then runs passes over the whole program
; with the inputs frozen until a pass fires no transition (at most 16 passes),
; then writes the port images to the pins and updates the timers.

        list    p=16f628a, r=dec
        #include <p16f628a.inc>
        errorlevel -302                 ; bank 1 registers are reached on purpose

        __config _INTOSC_OSC_NOCLKOUT & _WDT_OFF & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _CP_OFF

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
        andlw   0x0F
        movwf   code
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
        goto    end_of_pass             ; codes 13 to 15 do not exist: they end the program too
        goto    end_of_pass
        goto    end_of_pass
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
        btfss   flags, result
        bcf     INDF, b
        btfsc   flags, result
        bsf     INDF, b
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

; ---------------------------------------------------------------------------
; Start-up: every bit 0, pins and timers set from the EEPROM, initial situation.
start
        clrf    STATUS
        clrf    PORTA
        clrf    PORTB
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

        call    initial_situation

; ---------------------------------------------------------------------------
scan
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
stable
        movf    image_ra, w
        movwf   PORTA
        movf    image_rb, w
        movwf   PORTB
        call    update_timers
        goto    scan

; ---------------------------------------------------------------------------
; The timers, once per scan. An enable bit at 0 clears the done bit and stops
; the count. A timer counts the ticks after the update that saw it enabled,
; one more than its preset since the first of them may come at once, so its
; done bit never rises early and rises at most one tick late.
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
        incf    FSR, f                  ; just enabled: read the preset
        incf    FSR, f
        movf    INDF, w
        movwf   wait_low
        incf    FSR, f
        movf    INDF, w
        movwf   wait_high
        movf    timer_pointer, w
        movwf   FSR
        movf    wait_low, w
        iorwf   wait_high, w
        btfsc   STATUS, Z
        goto    timer_ends              ; a preset of 0 ends at once
        incf    wait_low, f             ; the first tick may come at once: wait one more
        btfsc   STATUS, Z
        incf    wait_high, f
        movf    wait_low, w
        iorwf   wait_high, w
        btfss   STATUS, Z
        goto    store_wait
        decf    wait_low, f             ; 65535 stays 65535
        decf    wait_high, f
store_wait
        movf    wait_low, w
        movwf   INDF
        incf    FSR, f
        movf    wait_high, w
        movwf   INDF
        return
count_down
        movf    elapsed, w
        subwf   INDF, f                 ; low byte
        incf    FSR, f
        btfsc   STATUS, C
        goto    done_when_zero
        movf    INDF, f                 ; borrow from the high byte
        btfsc   STATUS, Z
        goto    timer_ends
        decf    INDF, f
done_when_zero
        movf    timer_pointer, w
        movwf   FSR
        movf    INDF, w
        incf    FSR, f
        iorwf   INDF, w
        btfss   STATUS, Z
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
; Activates every step opened by "*" (code 9) before the first scan.
initial_situation
        clrf    pointer_low
        movlw   high program_area
        movwf   pointer_high
initial_order
        movf    pointer_high, w
        movwf   PCLATH
        movf    pointer_low, w
        call    read_word
        andlw   0x0F
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
        btfsc   STATUS, C
        return
        movlw   9
        xorwf   code, w
        btfss   STATUS, Z
        goto    initial_order
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
        goto    initial_order

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
