/* A library without the entry point. */
__attribute__((visibility("default"))) int OutraFuncao(void) {
    return 1;
}
