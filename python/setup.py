"""Builds the compiled module _movlex with the repository's CMake build
(target _movlex) and places it in the package. Install with

    python3 -m pip install --no-build-isolation ./python

Everything comes from the machine: CMake, a C++20 compiler, pybind11 and the
interpreter's development files. MOVLEX_CMAKE_BUILD_DIR picks the CMake build
directory (default: inside setuptools' temporary build directory)."""

import os
import pathlib
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

REPOSITORY = pathlib.Path(__file__).resolve().parent.parent


class CMakeBuild(build_ext):
    def build_extension(self, extension):
        build_dir = pathlib.Path(os.environ.get("MOVLEX_CMAKE_BUILD_DIR") or
                                 pathlib.Path(self.build_temp).resolve() / "cmake")
        configure = ["cmake", "-S", str(REPOSITORY), "-B", str(build_dir), "-DCMAKE_BUILD_TYPE=Release",
                     f"-DPython3_EXECUTABLE={sys.executable}", "-DMOVLEX_BUILD_PYTHON=ON",
                     "-DMOVLEX_BUILD_TESTS=OFF", "-DMOVLEX_BUILD_TOOLS=OFF", "-DMOVLEX_BUILD_BENCH=OFF"]
        if shutil.which("ccache"):
            configure += ["-DCMAKE_C_COMPILER_LAUNCHER=ccache", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"]
        subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build_dir), "--target", "movlex_python", "-j",
                        str(os.cpu_count() or 2)], check=True)
        package = build_dir / "python" / "movlex"
        target = pathlib.Path(self.get_ext_fullpath(extension.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(next(package.glob("_movlex*")), target)
        # The type stubs written from the indicator table, beside the module.
        for stub in package.glob("*.pyi"):
            shutil.copyfile(stub, target.parent / stub.name)


setup(ext_modules=[Extension("movlex._movlex", sources=[])], cmdclass={"build_ext": CMakeBuild})
