"""Builds the extension ixo._ixo with the project's own CMake build.

The extension links the engine's libraries from the folders beside this one,
so the package is built from a clone (pip builds a local folder in place):
CMake configures the whole project without its window, tests and benches in
the build folder setuptools gives, builds the one target _ixo, and the
module is copied where setuptools expects it.
"""

import os
import pathlib
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

TOP = pathlib.Path(__file__).resolve().parent.parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        if not (TOP / "engine" / "CMakeLists.txt").exists():
            raise RuntimeError(f"the engine's sources are not beside {TOP / 'python'}: build from a clone")
        build = pathlib.Path(self.build_temp).resolve() / "cmake"
        configure = [
            "cmake", "-S", str(TOP), "-B", str(build),
            "-DCMAKE_BUILD_TYPE=Release",
            "-DIXO_BUILD_UI=OFF", "-DIXO_BUILD_TESTS=OFF", "-DIXO_BUILD_BENCH=OFF",
            f"-DPython_EXECUTABLE={sys.executable}",
        ]
        if shutil.which("ninja") and not (build / "CMakeCache.txt").exists():
            configure += ["-G", "Ninja"]
        subprocess.run(configure, check=True)
        subprocess.run(
            ["cmake", "--build", str(build), "--target", "_ixo", "--parallel", str(os.cpu_count() or 1)],
            check=True,
        )
        built = sorted((build / "python" / "ixo").glob("_ixo*.so"))
        if not built:
            raise RuntimeError(f"CMake built no module in {build / 'python' / 'ixo'}")
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built[0], target)


setup(ext_modules=[Extension("ixo._ixo", sources=[])], cmdclass={"build_ext": CMakeBuild})
