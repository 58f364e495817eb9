# SPDX-License-Identifier: MIT
"""The part of pip install . that pyproject.toml cannot say: the extension vxrecinfo._vxrecinfo,
built by CMake for the interpreter that runs pip, and the version, from CMakeLists.txt."""

import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = Path(__file__).resolve().parent
VERSION = re.search(r"project\(vxRecInfo VERSION ([0-9.]+)", (SOURCE / "CMakeLists.txt").read_text()).group(1)


class CMakeBuild(build_ext):
    """Configures the tree without tests and benchmarks and builds the module's target only;
    CMAKE_BUILD_PARALLEL_LEVEL sets the jobs."""

    def build_extension(self, ext):
        tree = Path(self.build_temp).resolve() / "cmake"
        subprocess.run(["cmake", "-S", str(SOURCE), "-B", str(tree), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DVXRECINFO_TESTS=OFF", "-DVXRECINFO_BENCH=OFF", f"-DPython3_EXECUTABLE={sys.executable}"],
                       check=True)
        subprocess.run(["cmake", "--build", str(tree), "--target", "vxrecinfo_python"], check=True)
        built = sorted((tree / "python" / "vxrecinfo").glob("_vxrecinfo.*.so"))
        if len(built) != 1:
            sys.exit(f"expected one _vxrecinfo extension in {tree}/python/vxrecinfo, found {len(built)}")
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built[0], target)


setup(version=VERSION,
      ext_modules=[Extension("vxrecinfo._vxrecinfo", sources=[])],
      cmdclass={"build_ext": CMakeBuild})
