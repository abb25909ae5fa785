#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/<target>/ (small files,
shaped like the files of the tests). Inputs kept from fuzzing runs (regressions) live beside
them, named regressao-*; this script leaves those alone."""
import os
import struct

AQUI = os.path.dirname(os.path.abspath(__file__))


def grava(alvo, nome, dados):
    d = os.path.join(AQUI, 'corpus', alvo)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, nome), 'wb') as f:
        f.write(dados)


def campo(t, n):
    return t[:n].ljust(n, b'\0')


def tabrot(cartoes, cabecalho=1):
    b = struct.pack('<HH', cabecalho, len(cartoes))
    for nome, rede, tipo, bins in cartoes:
        b += campo(nome, 31) + struct.pack('<HBH', rede, tipo, len(bins))
        b += b''.join(campo(x, 20) for x in bins)
    return b


# TabRot.bin
grava('tabrot', 'vazia', tabrot([]))
grava('tabrot', 'padroes', tabrot([(b'', 10, 255, []), (b'', 20, 254, []), (b'', 0xFFFF, 253, [])]))
grava('tabrot', 'tres-tipos', tabrot([(b'VISA', 10, 1, [b'411111', b'400000-400099']),
                                      (b'MAESTRO', 20, 2, [b'501234']),
                                      (b'FROTA', 40, 3, [b'606282', b'606283', b'606284'])]))
grava('tabrot', 'vinte-bins', tabrot([(b'X' * 30, 30, 1, [b'%09d' % i for i in range(20)])]))
grava('tabrot', 'nome-sem-nul', tabrot([(b'N' * 31, 30, 1, [b'1' * 20])]))
grava('tabrot', 'cp1252', tabrot([(b'Cart\xe3o Cr\xe9dito', 10, 1, [b'123456'])]))
grava('tabrot', 'curta', tabrot([(b'VISA', 10, 1, [b'411111'])])[:-5])
grava('tabrot', 'bins-demais', tabrot([(b'VISA', 10, 1, [b'1'] * 21)]))
grava('tabrot', 'qtd-351', struct.pack('<HH', 1, 351))
grava('tabrot', 'sobra-no-fim', tabrot([(b'VISA', 10, 1, [b'411111'])]) + b'lixo')
grava('tabrot', 'cabecalho-2', tabrot([(b'VISA', 10, 1, [b'411111'])], cabecalho=2))
grava('tabrot', 'so-cabecalho', b'\x01\x00')


# COMUNIC.cnf: 130-byte records, word 2 the type (2 network, 7 TECBAN connection), word 4 the value
def registro(tipo, valor):
    r = bytearray(b'\x5a' * 130)
    struct.pack_into('<HHH', r, 0, 0x0102, tipo, valor)
    return bytes(r)


grava('comunic', 'um-byte', b'\x02')
grava('comunic', 'redes', registro(2, 20) + registro(2, 10) + registro(2, 40) + registro(2, 30))
grava('comunic', 'tecban-host', registro(2, 30) + registro(7, 1) + registro(1, 0))
grava('comunic', 'tecban-online', registro(7, 0) + registro(2, 30) + registro(2, 20))
grava('comunic', 'sem-modulo', registro(2, 99) + registro(2, 0xFFFF) + registro(2, 20) + b'12345')
grava('comunic', 'repetidas', registro(2, 10) * 5 + registro(3, 10))
grava('comunic', 'muitas', registro(2, 10) * 210)
grava('comunic', 'incompleto', registro(2, 20)[:100])


# Profile: three pieces (length byte + bytes: section, key, value), then the file
def perfil(secao, chave, valor, conteudo):
    return bytes([len(secao)]) + secao + bytes([len(chave)]) + chave + bytes([len(valor)]) + valor + conteudo


grava('perfil', 'existe', perfil(b'Geral', b'HabilitaBinsPorEmpresa', b'1',
                                 b'[Geral]\r\nHabilitaBinsPorEmpresa=0\r\nOutra=x\r\n'))
grava('perfil', 'nova-chave', perfil(b'Geral', b'Chave', b'abc', b'[Geral]\r\nA=1\r\n[Outra]\r\nB=2\r\n'))
grava('perfil', 'nova-secao', perfil(b'Nova', b'K', b'v', b'[Geral]\r\nA=1'))
grava('perfil', 'vazio', perfil(b'config', b'raiz', b'\\Vardo', b''))
grava('perfil', 'aspas', perfil(b'S', b'K', b'x', b'[S]\nK = "  com aspas  "\n'))
grava('perfil', 'hexa', perfil(b'S', b'N', b'0x1F', b'[ s ]\r\n  n =0x7fffffff\r\n'))
grava('perfil', 'negativo', perfil(b'S', b'N', b'-12', b'[S]\rN=-2147483649\r'))
grava('perfil', 'comentario', perfil(b'S', b'K', b'1', b'K=antes\r\n[S]\r\n;K=2\r\nK\r\n[S]\r\nK=3\r\n'))
grava('perfil', 'sem-fecha', perfil(b'S', b'K', b'1', b'[S\r\nK=a ;b\r\n[S]x]\r\nK=c'))
grava('perfil', 'sem-fim-de-linha', perfil(b'S', b'K2', b'9', b'[S]\r\nK1=1'))
grava('perfil', 'cp1252', perfil(b'Se\xe7\xe3o', b'Chave', b'\xe9', b'[SE\xc7\xc3O]\r\nchave=\xe1\r\n'))

# Company files: per file a mode byte (suffix, 0x80 directory, 0x40 unreadable), the name, the
# first bytes
def empresa(modo, base, conteudo):
    return bytes([modo, len(base)]) + base + bytes([len(conteudo)]) + conteudo


grava('empresas', 'duas', empresa(0, b'EMPRESA1', b'\x10\x01') + empresa(1, b'empresa2', b'\x10\x01xx'))
grava('empresas', 'recusadas', empresa(0, b'EMPRESA', b'\x10\x01') + empresa(0, b'EMPRESA10', b'\x10\x01')
      + empresa(0, b'EMPRES-1', b'\x10\x01') + empresa(0, b'EMPRESA3', b'\x10\x02')
      + empresa(0, b'EMPRESA4', b'\x10') + empresa(3, b'EMPRESA5', b'\x10\x01')
      + empresa(5, b'EMPRESA6', b'\x10\x01'))
grava('empresas', 'diretorio', empresa(0x80, b'EMPRESA1', b'') + empresa(0, b'ZZZZZZZZ', b'\x10\x01'))
grava('empresas', 'ilegivel', empresa(0x40, b'EMPRESA1', b'\x10\x01') + empresa(0, b'AAAAAAAA', b'\x10\x01'))
grava('empresas', 'ordem', empresa(0, b'bbbbbbbb', b'\x10\x01') + empresa(0, b'AAAAAAAA', b'\x10\x01')
      + empresa(2, b'Cccccccc', b'\x10\x01') + empresa(1, b'aaaaaaab', b'\x10\x01'))
grava('empresas', 'nao-ascii', empresa(0, b'EMPRES\xc3\xa3', b'\x10\x01') + empresa(0, b'\xff\xfe', b'\x10\x01'))

# Import lines
linhas = [
    b'TODAS;VISA;411111,400000-400099;10;C;I',
    b'EMPRESA1;MAESTRO;501234;20;D;I',
    b'empresa2;Frota;606282;30;f;e',
    b'TODAS;VISA;411111;10;C;E',
    b'TODAS;"Nome;com;ponto";123456;10;C;I',
    b'TODAS;"aspas ""duplas""";1;1;C;I',
    b'../../etc;X;1;1;C;I',
    b'TODAS;' + b'N' * 31 + b';1;1;C;I',
    b'TODAS;N;' + b','.join([b'1'] * 21) + b';1;C;I',
    b'TODAS;N;' + b'1' * 21 + b';1;C;I',
    b'TODAS;N;1;1234;C;I',
    b'TODAS;N;1;abc;C;I',
    b'TODAS;N;1;1;X;Z',
    b';;;;;',
    b'',
    b'TODAS;N;1;1;C;I;extra;',
]
grava('registro', 'validos', b'\r\n'.join(linhas[:4]) + b'\r\n')
grava('registro', 'aspas', b'\n'.join(linhas[4:6]))
grava('registro', 'invalidos', b'\r\n'.join(linhas[6:]) + b'\r\n')
grava('registro', 'ctrl-z', linhas[0] + b'\r\n\x1a' + linhas[1])
grava('registro', 'cr-solto', linhas[0] + b'\r' + linhas[1] + b'\r\r\n')
grava('registro', 'cp1252', b'TODAS;Cart\xe3o;411111;10;C;I\r\n')

grava('importacao', 'inclui-exclui', b'\r\n'.join(linhas[:4]) + b'\r\n')
grava('importacao', 'empresas', b'EMPRESA1;NOVO;111111;20;C;I\r\nEMPRESA9;NOVO;222222;20;D;I\r\n'
      b'EMPRESA1;CARTAO 1;411121,411122;20;D;E\r\n')
grava('importacao', 'cheia', b'EMPRESA2;A;1;30;C;I\r\nEMPRESA2;B;2;30;C;I\r\nEMPRESA2;C;3;30;C;I\r\n'
      b'EMPRESA2;CARTAO 0;411111;30;C;E\r\n')
grava('importacao', 'danificada', b'DANIFICA;X;1;20;C;I\r\nDANIFICA;CARTAO 0;411111;20;C;E\r\n')
grava('importacao', 'invalidos', b'\r\n'.join(linhas[6:]) + b'\r\n')
grava('importacao', 'vinte-bins', b'TODAS;V;' + b','.join(b'%d' % (400000 + i) for i in range(20))
      + b';999;F;I\r\n')
grava('importacao', 'cp1252', b'TODAS;Cart\xe3o;411111;10;C;I\r\nTODAS;CART\xc3O;411111;10;C;I\r\n')

# Company files, later cases: a FIFO named like a company, one company under two letter cases
grava('empresas', 'fifo', empresa(0x20, b'EMPRESA1', b'') + empresa(0, b'EMPRESA2', b'\x10\x01'))
grava('empresas', 'caixa', empresa(0, b'AAAAAAAA', b'\x10\x01') + empresa(2, b'AAAAAAAA', b'\x10\x01')
      + empresa(1, b'aaaaaaaa', b'\x10\x01'))
