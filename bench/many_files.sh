# Sourced by the benchmarks. write_many_files ROOT COUNT WORDS: COUNT small
# text files of WORDS/10 to WORDS words below ROOT, 100 to a folder, the same
# for the same COUNT on every run.
write_many_files() {
  python3 - "$1" "$2" "$3" <<'PY'
import os, random, sys
root, count, most = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(count)
words = [b"tile", b"map", b"sprite", b"sound", b"level", b"actor", b"light", b"door"]
for i in range(count):
    folder = os.path.join(root, "d%04d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%06d.dat" % i), "wb") as f:
        f.write(b" ".join(rng.choice(words) for _ in range(rng.randint(most // 10, most))))
PY
}
