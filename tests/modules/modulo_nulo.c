/* A module that dereferences a null pointer while it is queried. */
__attribute__((visibility("default"))) void ObtemInformacoes(void *p) {
    volatile int *nulo = (volatile int *)0;
    (void)p;
    *nulo = 1;
}
