#pragma once
// The program's exported functions: the message table for the modules of the installation that
// run in its process. They are found by name (dlsym) and use C linkage; the text crosses the
// boundary in the caller's buffer, so the caller need not share this program's memory manager.

#include <stdint.h>

#define VARDO_EXPORTA __attribute__((visibility("default")))

// Bytes a LeMensagens buffer must hold: at most 255 characters and the closing NUL.
#define TAM_BUFFER_MENSAGEM 256

#ifdef __cplusplus
extern "C" {
#endif

// Applies the site's translation (TabTraducao.ini) to the table.
VARDO_EXPORTA void CarregaMsg(void);
// Copies the Windows-1252 text of entry `numero` (1 to 753), NUL-terminated, into `texto`, which
// holds at least TAM_BUFFER_MENSAGEM bytes; a number outside the table gives an empty text.
VARDO_EXPORTA void LeMensagens(char *texto, int32_t numero);

#ifdef __cplusplus
}
#endif
