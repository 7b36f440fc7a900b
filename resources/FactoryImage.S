/* Embeds factory_image.bin (found through the assembler include path) as read-only data. */

        .section .rodata.orvane_factory_image, "a"
        .global orvane_factory_image
        .type orvane_factory_image, %object
        .balign 16
orvane_factory_image:
        .incbin "factory_image.bin"
orvane_factory_image_end:
        .size orvane_factory_image, orvane_factory_image_end - orvane_factory_image

        .if orvane_factory_image_end - orvane_factory_image - 917504
        .error "factory_image.bin must hold exactly 917504 bytes"
        .endif

        .section .note.GNU-stack, "", %progbits
