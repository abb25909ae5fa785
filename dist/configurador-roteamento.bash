# bash completion of configurador-roteamento
_configurador_roteamento() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        --importar | --exportar)
            COMPREPLY=($(compgen -f -- "$cur"))
            compopt -o filenames 2>/dev/null
            return
            ;;
        --unidade)
            COMPREPLY=($(compgen -d -- "$cur"))
            compopt -o filenames 2>/dev/null
            return
            ;;
    esac
    COMPREPLY=($(compgen -W "--importar --simular --exportar --verificar --unidade --quiet --help --version" -- "$cur"))
}
complete -F _configurador_roteamento configurador-roteamento
