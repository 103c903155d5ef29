"""mypy --strict over the README's Python examples and the given files, with
the module's stubs (MYPYPATH). Modules without stubs that the examples
merely use (matplotlib, ase, dask) are taken as they come."""
import pathlib
import re
import subprocess
import sys
import tempfile

CONFIG = """[mypy]
strict = True
cache_dir = /dev/null
[mypy-matplotlib.*,ase.*]
ignore_missing_imports = True
[mypy-dask.*,distributed.*]
follow_imports = skip
"""


def main() -> int:
    readme, *files = sys.argv[1:]
    blocks = re.findall(r"```python\n(.*?)```", pathlib.Path(readme).read_text(), re.S)
    if not blocks:
        print(f"no Python examples in {readme}")
        return 1
    with tempfile.TemporaryDirectory() as tmp:
        examples = []
        for n, block in enumerate(blocks):
            path = pathlib.Path(tmp, f"readme_example_{n}.py")
            path.write_text(block)
            examples.append(str(path))
        pathlib.Path(tmp, "mypy.ini").write_text(CONFIG)
        return subprocess.run([sys.executable, "-m", "mypy", "--config-file", f"{tmp}/mypy.ini", *examples, *files]).returncode


if __name__ == "__main__":
    sys.exit(main())
