#ifndef INFO_MODULO_H
#define INFO_MODULO_H
/* The information record a network module fills in, shared by the tool and by module writers
 * (plain C, so a module can include it).
 *
 * A module is a shared library named se<Network>.bpl exporting
 *     extern "C" void ObtemInformacoes(void *info);
 * `info` points to TAM_INFO_MODULO bytes, packed, little-endian. The tool presets two words
 * (INFO_PRESET_60000 = 60000, INFO_PRESET_MENOS_UM = -1); everything else is zero on entry.
 * The module writes the network code it serves and its card-type mask (1 credit, 2 debit,
 * 4 fuel); the tool reads nothing else but the two words at 319 and 323, which it keeps.
 *
 * The text handle at INFO_TEXTO starts zero. The tool frees nothing a module leaves there: it
 * does not share the module's string representation, so a module that stores a text there must
 * not expect it to be released (keep it static, or free it yourself).
 *
 * Modules are queried in a separate process, one after another; a module that crashes, hangs
 * (more than a few seconds) or lacks the entry point is simply left out. */

#define TAM_INFO_MODULO 10463

#define INFO_PALAVRA_319 319       /* word kept, not used */
#define INFO_CODIGO 321            /* network code served (unsigned 16 bits) */
#define INFO_PALAVRA_323 323       /* word kept, not used */
#define INFO_PRESET_60000 325      /* set to 60000 by the tool */
#define INFO_PRESET_MENOS_UM 10124 /* signed word set to -1 by the tool */
#define INFO_MASCARA 10383         /* card-type mask */
#define INFO_TEXTO 10432           /* 4-byte text handle, zero on entry, never released */

#endif
