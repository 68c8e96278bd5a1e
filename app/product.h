// The program's home page, its author's address and notice: shown in the
// About box and written into the files the program makes. Plain macros, as
// the resource script reads them too.
#pragma once

#define PRODUCT_ADDRESS "https://quillbee.example.org/"
#define CONTACT_ADDRESS "quillbee@example.org"
#define AUTHOR_NOTICE "© 2010 the Quillbee authors"
