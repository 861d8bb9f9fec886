"""The skin files' adaptive Huffman tree in Python, to write LZHUF streams
that no encoder would choose: fuzz seeds that reach the decoder's rarer
paths in few bytes.

literal_run(byte, count) is the stream of count literals of one byte:
once the byte outweighs all other symbols it costs one bit, so 32,500 of
them (enough for the tree to rebuild itself once its root count reaches
32,768) fit in about 4 KB.
"""

SYMBOLS = 314  # 256 literals and the match lengths 3..60
TREE = 2 * SYMBOLS - 1
ROOT = TREE - 1
MAX_FREQUENCY = 0x8000


class AdaptiveTree:
    def __init__(self):
        self.freq = [0] * (TREE + 1)
        self.son = [0] * TREE
        self.parent = [0] * (TREE + SYMBOLS)
        for i in range(SYMBOLS):
            self.freq[i] = 1
            self.son[i] = i + TREE
            self.parent[i + TREE] = i
        i, j = 0, SYMBOLS
        while j <= ROOT:
            self.freq[j] = self.freq[i] + self.freq[i + 1]
            self.son[j] = i
            self.parent[i] = self.parent[i + 1] = j
            i, j = i + 2, j + 1
        self.freq[TREE] = 0xFFFF
        self.parent[ROOT] = 0
        self.rebuilds = 0

    def reconstruct(self):
        """Halves the leaves' counts and pairs the nodes off again."""
        self.rebuilds += 1
        f, s = self.freq, self.son
        leaves = 0
        for i in range(TREE):
            if s[i] >= TREE:
                f[leaves] = (f[i] + 1) // 2
                s[leaves] = s[i]
                leaves += 1
        i, j = 0, SYMBOLS
        while j < TREE:
            total = f[i] + f[i + 1]
            k = j - 1
            while total < f[k]:
                k -= 1
            k += 1
            f[k + 1:j + 1] = f[k:j]
            s[k + 1:j + 1] = s[k:j]
            f[k] = total
            s[k] = i
            i, j = i + 2, j + 1
        for i in range(TREE):
            k = s[i]
            self.parent[k] = i
            if k < TREE:
                self.parent[k + 1] = i

    def update(self, symbol):
        """Counts the symbol, keeping the counts in ascending node order."""
        f, s, p = self.freq, self.son, self.parent
        if f[ROOT] == MAX_FREQUENCY:
            self.reconstruct()
        c = p[symbol + TREE]
        while True:
            f[c] += 1
            k = f[c]
            l = c + 1
            if k > f[l]:
                l += 1
                while k > f[l]:
                    l += 1
                l -= 1
                f[c], f[l] = f[l], k
                i = s[c]
                p[i] = l
                if i < TREE:
                    p[i + 1] = l
                j = s[l]
                s[l] = i
                p[j] = c
                if j < TREE:
                    p[j + 1] = c
                s[c] = j
                c = l
            c = p[c]
            if c == 0:
                break

    def code(self, symbol):
        """The symbol's bits from the root down."""
        bits = []
        k = self.parent[symbol + TREE]
        while k != ROOT:
            bits.append(k - self.son[self.parent[k]])
            k = self.parent[k]
        return bits[::-1]


def literal_run(byte, count):
    """The stream of count literals of one byte, zero bits to a whole byte."""
    tree = AdaptiveTree()
    bits = []
    for _ in range(count):
        bits += tree.code(byte)
        tree.update(byte)
    bits += [0] * (-len(bits) % 8)
    return bytes(int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))
