/* The installer's version, shared by its version resource and by the
   Apps & features entry it writes, so that the two always agree. */
#pragma once

#define QUIMORA_COMPANY "Quimora"
#define QUIMORA_FILE_VERSION_NUMBERS 18, 19, 0, 0
#define QUIMORA_FILE_VERSION "18.19.0.0"
#define QUIMORA_PRODUCT_VERSION "2018/19"
