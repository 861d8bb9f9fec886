#!/usr/bin/env python3
"""Writes the sample product that the installer carries, the same bytes
and times on every run.

    make_sample_data.py OUT_DIR --program EXE [--stamp FILE]

OUT_DIR is emptied first. EXE is the product's program, copied in as
"QuimoraWindows18_19.exe". The product: 209 files in 7 folders (216
entries): lessons and exercises as text, tables as CSV, pictures as BMP,
measurement series as binary data. Text files are Windows text: code page
1252 with CR LF line ends. Every file and folder gets a fixed last-write
time, an even number of seconds, since ZIP times have two-second steps.
The stamp file lists the entries; the build uses it to know the payload
is complete.
"""
import argparse
import os
import shutil
import struct
import sys

PROGRAM_NAME = 'QuimoraWindows18_19.exe'
FOLDERS = ['lecciones', 'tablas', 'imágenes', 'imágenes/moléculas', 'ejercicios', 'ejercicios/soluciones',
           'datos']
EXPECTED_FILES = 209
# 2018-09-03 09:00:00 UTC, the first day of the school year.
BASE_TIME = 1535965200

TOPICS = [
    'Introducción a la química', 'La materia y sus propiedades', 'Mezclas y sustancias puras',
    'Métodos de separación', 'El átomo', 'Modelos atómicos', 'Configuración electrónica',
    'La tabla periódica', 'Propiedades periódicas', 'El enlace iónico', 'El enlace covalente',
    'El enlace metálico', 'Fuerzas intermoleculares', 'Formulación inorgánica', 'Formulación orgánica',
    'El mol', 'Equilibrio químico ⇌', 'Gases ideales', 'Disoluciones', 'Concentración',
    'Propiedades coligativas', 'Reacciones químicas', 'Estequiometría', 'Reactivo limitante',
    'Termoquímica', 'Entalpía y entropía', 'Cinética química', 'Catalizadores', 'Ácidos y bases',
    'El pH', 'Valoraciones', 'Oxidación y reducción', 'Pilas electroquímicas', 'Electrólisis',
    'Química del carbono', 'Hidrocarburos', 'Grupos funcionales', 'Polímeros', 'Química y medio ambiente',
    'Química en la vida cotidiana',
]
MOLECULES = [
    'agua', 'metano', 'etano', 'propano', 'butano', 'etanol', 'metanol', 'amoníaco', 'dióxido de carbono',
    'monóxido de carbono', 'oxígeno', 'nitrógeno', 'ozono', 'ácido sulfúrico', 'ácido nítrico',
    'ácido acético', 'benceno', 'tolueno', 'glucosa', 'fructosa', 'sacarosa', 'urea', 'acetona',
    'formaldehído', 'etileno', 'acetileno', 'cloruro de sodio', 'peróxido de hidrógeno', 'ácido clorhídrico',
    'propanol', 'glicerina', 'fenol', 'ácido fórmico', 'dióxido de azufre', 'metilamina',
]
# The first elements: symbol, name, atomic number, standard atomic mass.
ELEMENTS = [
    ('H', 'Hidrógeno', 1, '1.008'), ('He', 'Helio', 2, '4.0026'), ('Li', 'Litio', 3, '6.94'),
    ('Be', 'Berilio', 4, '9.0122'), ('B', 'Boro', 5, '10.81'), ('C', 'Carbono', 6, '12.011'),
    ('N', 'Nitrógeno', 7, '14.007'), ('O', 'Oxígeno', 8, '15.999'), ('F', 'Flúor', 9, '18.998'),
    ('Ne', 'Neón', 10, '20.180'), ('Na', 'Sodio', 11, '22.990'), ('Mg', 'Magnesio', 12, '24.305'),
    ('Al', 'Aluminio', 13, '26.982'), ('Si', 'Silicio', 14, '28.085'), ('P', 'Fósforo', 15, '30.974'),
    ('S', 'Azufre', 16, '32.06'), ('Cl', 'Cloro', 17, '35.45'), ('Ar', 'Argón', 18, '39.948'),
    ('K', 'Potasio', 19, '39.098'), ('Ca', 'Calcio', 20, '40.078'),
]


class Random:
    """A 64-bit linear congruential generator: the same numbers everywhere."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self, bound):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % bound


def text_title(topic):
    # The file name keeps the symbol; code page 1252 has no such character.
    return topic.replace('⇌', '<=>')


def windows_text(lines):
    return ('\r\n'.join(lines) + '\r\n').encode('cp1252')


def lesson(number, topic):
    r = Random(number)
    lines = ['Quimora - Curso 2018/19', f'Tema {number:02d}: {text_title(topic)}', '=' * 40, '']
    for section in range(1, 4 + r.next(3)):
        lines.append(f'{number}.{section}. Apartado {section}')
        for _ in range(3 + r.next(5)):
            words = ['La', 'materia', 'se', 'transforma', 'según', 'leyes', 'que', 'podemos', 'medir',
                     'y', 'predecir', 'con', 'modelos', 'sencillos', 'de', 'átomos', 'moléculas', 'iones']
            lines.append(' '.join(words[r.next(len(words))] for _ in range(8 + r.next(8))).capitalize() + '.')
        lines.append('')
    return windows_text(lines)


def exercises(number, topic, solutions):
    r = Random(1000 + number * 7 + (1 if solutions else 0))
    title = 'Soluciones' if solutions else 'Ejercicios'
    lines = [f'{title} del tema {number:02d}: {text_title(topic)}', '']
    for i in range(1, 6 + r.next(5)):
        a, b = 1 + r.next(50), 1 + r.next(20)
        if solutions:
            lines.append(f'{i}) {a} g / {b} g/mol = {a / b:.3f} mol')
        else:
            lines.append(f'{i}) ¿Cuántos moles hay en {a} g de una sustancia de masa molar {b} g/mol?')
    return windows_text(lines)


def table(number):
    r = Random(5000 + number)
    columns = 3 + r.next(4)
    lines = [';'.join(['muestra'] + [f'medida_{c + 1}' for c in range(columns)])]
    for row in range(10 + r.next(40)):
        values = [f'{r.next(100000) / 100:.2f}'.replace('.', ',') for _ in range(columns)]
        lines.append(';'.join([f'M{row + 1:03d}'] + values))
    return windows_text(lines)


def elements_table():
    lines = ['Z;Símbolo;Nombre;Masa atómica']
    lines += [f'{z};{symbol};{name};{mass.replace(".", ",")}' for symbol, name, z, mass in ELEMENTS]
    return windows_text(lines)


def bmp24(width, height, pixel):
    stride = (width * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        rows += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(rows), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    return header + info + bytes(rows)


def plate(number):
    """A plate of 96 x 64: a two-colour gradient with a grid of dots."""
    r = Random(9000 + number)
    a = (r.next(256), r.next(256), r.next(256))
    b = (r.next(256), r.next(256), r.next(256))
    spacing = 6 + r.next(6)

    def pixel(x, y):
        if x % spacing == spacing // 2 and y % spacing == spacing // 2:
            return (255, 255, 255)
        return tuple(a[k] + (b[k] - a[k]) * (x + y) // (96 + 64) for k in range(3))

    return bmp24(96, 64, pixel)


def molecule(number):
    """Balls and sticks on a cream background, 64 x 64."""
    r = Random(20000 + number)
    atoms = [(32, 32, 9)]
    for _ in range(2 + r.next(5)):
        atoms.append((10 + r.next(44), 10 + r.next(44), 4 + r.next(4)))
    colours = [(38, 128, 138), (226, 146, 44), (200, 60, 50), (90, 90, 100), (240, 240, 240)]
    painted = [colours[r.next(len(colours))] for _ in atoms]

    def pixel(x, y):
        for (ax, ay, ar), colour in zip(reversed(atoms), reversed(painted)):
            d = (x - ax) * (x - ax) + (y - ay) * (y - ay)
            if d <= ar * ar:
                return colour if d < (ar - 1) * (ar - 1) else (92, 52, 22)
        for ax, ay, _ in atoms[1:]:
            # A stick from the centre atom: close to the line through both.
            dx, dy = ax - 32, ay - 32
            cross = (x - 32) * dy - (y - 32) * dx
            dot = (x - 32) * dx + (y - 32) * dy
            if cross * cross <= 4 * (dx * dx + dy * dy) and 0 <= dot <= dx * dx + dy * dy:
                return (92, 52, 22)
        return (252, 240, 212)

    return bmp24(64, 64, pixel)


def series(number):
    """A measurement series: a header, then pairs of 32-bit floats."""
    r = Random(30000 + number)
    count = 1000 + r.next(2000)
    out = bytearray(b'QMSR' + struct.pack('<HHI', 1, number, count))
    for i in range(count):
        out += struct.pack('<ff', 400 + i / 4, r.next(1000000) / 1000)
    return bytes(out)


def product_files(program):
    """(relative path, bytes) for every file, in a fixed order."""
    files = [(PROGRAM_NAME, program)]
    files.append(('LEEME.txt', windows_text([
        'Quimora 2018/19', '', 'Para empezar, abra QuimoraWindows18_19.exe.',
        'Las lecciones están en la carpeta "lecciones" y los ejercicios en "ejercicios".'])))
    files.append(('Licencia.txt', windows_text([
        'Licencia de uso de Quimora', '', 'Este programa se distribuye para uso educativo.'])))
    files.append(('Créditos.txt', windows_text(['Créditos', '', 'Textos, tablas e imágenes: equipo Quimora.'])))
    for n, topic in enumerate(TOPICS, 1):
        files.append((f'lecciones/Tema {n:02d} - {topic}.txt', lesson(n, topic)))
    files.append(('tablas/elementos.csv', elements_table()))
    for n in range(1, 30):
        files.append((f'tablas/tabla_{n:02d}.csv', table(n)))
    for n in range(1, 21):
        files.append((f'imágenes/lámina_{n:02d}.bmp', plate(n)))
    for n, name in enumerate(MOLECULES, 1):
        files.append((f'imágenes/moléculas/{name}.bmp', molecule(n)))
    for n, topic in enumerate(TOPICS, 1):
        files.append((f'ejercicios/Ejercicios tema {n:02d}.txt', exercises(n, topic, False)))
    for n, topic in enumerate(TOPICS[:30], 1):
        files.append((f'ejercicios/soluciones/Soluciones tema {n:02d}.txt', exercises(n, topic, True)))
    for n in range(1, 11):
        files.append((f'datos/espectro_{n:02d}.dat', series(n)))
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('out')
    parser.add_argument('--program', required=True)
    parser.add_argument('--stamp')
    args = parser.parse_args()

    with open(args.program, 'rb') as f:
        program = f.read()
    files = product_files(program)
    if len(files) != EXPECTED_FILES:
        sys.exit(f'make_sample_data: {len(files)} files instead of {EXPECTED_FILES}')

    shutil.rmtree(args.out, ignore_errors=True)
    for folder in FOLDERS:
        os.makedirs(os.path.join(args.out, folder))
    for i, (name, data) in enumerate(files):
        path = os.path.join(args.out, name)
        with open(path, 'wb') as f:
            f.write(data)
        when = BASE_TIME + 120 * i
        os.utime(path, (when, when))
    # Folders last, deepest first: writing into a folder changes its time.
    for i, folder in sorted(enumerate(FOLDERS), key=lambda f: -f[1].count('/')):
        when = BASE_TIME - 3600 + 2 * i
        os.utime(os.path.join(args.out, folder), (when, when))

    if args.stamp:
        with open(args.stamp, 'w', encoding='utf-8') as f:
            f.writelines(folder + '/\n' for folder in FOLDERS)
            f.writelines(name + '\n' for name, _ in files)
    print(f'make_sample_data: {len(files)} files and {len(FOLDERS)} folders in {args.out}')


if __name__ == '__main__':
    main()
