"""Zentrova particle sets from Python: the types of the module's interface."""
import abc
import os
from collections.abc import Iterable, Iterator, Mapping, MutableMapping
from typing import IO, Any, Generic, Literal, Never, SupportsIndex, TypedDict, TypeVar, overload

import numpy as np
import numpy.typing as npt
from ase import Atoms
from ase.calculators.calculator import Calculator

__version__: str

_Path = str | os.PathLike[str]
_Real = float | int | str | np.floating[Any] | np.integer[Any]
_Reals = npt.ArrayLike
_T = TypeVar("_T")
_Get = TypeVar("_Get")
_Set = TypeVar("_Set")

# An attribute read as one type and assigned from others.
class _Field(Generic[_Get, _Set]):
    @overload
    def __get__(self, obj: None, owner: Any) -> _Field[_Get, _Set]: ...
    @overload
    def __get__(self, obj: object, owner: Any) -> _Get: ...
    def __set__(self, obj: object, value: _Set) -> None: ...

class FloatingPointFault(ArithmeticError): ...

class FileError(OSError): ...

class Observables(TypedDict):
    step: int
    time: np.longdouble
    kinetic: np.longdouble
    kinetic_pe: np.longdouble
    kinetic_pes1: np.longdouble
    kinetic_pes2: np.longdouble
    com_x: np.longdouble
    com_y: np.longdouble
    com_z: np.longdouble
    radius: np.longdouble
    min_distance: np.longdouble
    min_i: int
    min_k: int
    potential: np.longdouble
    energy: np.longdouble
    conservative: int
    momentum_x: np.longdouble
    momentum_y: np.longdouble
    momentum_z: np.longdouble
    angular_x: np.longdouble
    angular_y: np.longdouble
    angular_z: np.longdouble
    present: int
    potential_pe: np.longdouble
    potential_pes1: np.longdouble
    potential_pes2: np.longdouble
    work: np.longdouble
    momentum_conserved: int
    temperature: np.longdouble
    force_max: np.longdouble
    step_max: np.longdouble
    # why energy or momentum may change; empty when both stay
    reasons: list[str]

class RunObservables(Observables):
    energy_start: np.longdouble
    energy_max_error: np.longdouble
    energy_error_relative: np.longdouble
    energy_drift: np.longdouble
    step_ratio_max: np.longdouble

class RadialBins(TypedDict):
    r_low: npt.NDArray[np.longdouble]
    r_high: npt.NDArray[np.longdouble]
    count: npt.NDArray[np.uint64]
    g: npt.NDArray[np.longdouble]

class Params(MutableMapping[str, np.longdouble]):
    # Not made from Python: s.params is the one of a set.
    def __init__(self, *args: Never, **kwargs: Never) -> None: ...
    def __getitem__(self, name: str) -> np.longdouble: ...
    def __setitem__(self, name: str, value: _Real) -> None: ...
    @overload  # type: ignore[override]
    def update(self, __other: Mapping[str, _Real], **more: _Real) -> None: ...
    @overload
    def update(self, __other: Iterable[tuple[str, _Real]], **more: _Real) -> None: ...
    @overload
    def update(self, **more: _Real) -> None: ...
    def __delitem__(self, name: str) -> None: ...
    def __iter__(self) -> Iterator[str]: ...
    def __len__(self) -> int: ...
    @overload
    def get(self, __key: str, __default: None = None) -> np.longdouble | None: ...
    @overload
    def get(self, __key: str, __default: np.longdouble | _T) -> np.longdouble | _T: ...
    @overload
    def pop(self, __key: str) -> np.longdouble: ...
    @overload
    def pop(self, __key: str, __default: np.longdouble | _T) -> np.longdouble | _T: ...
    def setdefault(self, __key: str, __default: np.longdouble | None = None) -> np.longdouble: ...
    def __reduce_ex__(self, protocol: SupportsIndex) -> tuple[type[dict[str, np.longdouble]], tuple[list[tuple[str, np.longdouble]]]]: ...

# pybind11's class of classes, which has no name to import.
class _ExtensionType(type): ...

class ParticleSet(metaclass=_ExtensionType):
    def __init__(self) -> None: ...
    positions: _Field[npt.NDArray[np.longdouble], _Reals]
    velocities: _Field[npt.NDArray[np.longdouble], _Reals]
    present: _Field[npt.NDArray[np.uint8], _Reals]
    dt: _Field[np.longdouble, _Real]
    params: _Field[Params, Mapping[str, _Real] | Params]
    steps: _Field[int, SupportsIndex]
    def save(self, path: _Path) -> None: ...
    def copy(self) -> ParticleSet: ...
    def __copy__(self) -> ParticleSet: ...
    def __deepcopy__(self, memo: Any) -> ParticleSet: ...
    def __getstate__(self) -> tuple[bytes, int]: ...
    def __setstate__(self, state: tuple[bytes, int]) -> None: ...
    def __reduce_ex__(self, protocol: SupportsIndex) -> tuple[type[ParticleSet], tuple[()], tuple[bytes, int]]: ...
    def __len__(self) -> int: ...
    def __eq__(self, other: object) -> bool: ...
    def __ne__(self, other: object) -> bool: ...
    __hash__: None  # type: ignore[assignment]
    def _repr_png_(self) -> bytes | None: ...

def load(path: _Path) -> ParticleSet: ...
def easy_square() -> ParticleSet: ...
def spiral() -> ParticleSet: ...
def forces(
    s: ParticleSet, *, taoscope: bool = False, pe_out: bool = False, pes1_out: bool = False, pes2_out: bool = False
) -> npt.NDArray[np.longdouble]: ...
def step(
    s: ParticleSet,
    n: int = 1,
    *,
    taoscope: bool = False,
    cool: bool = False,
    blockade: bool = False,
    pe_out: bool = False,
    pes1_out: bool = False,
    pes2_out: bool = False,
    threads: int | None = None,
    integrator: str = "euler",
) -> None: ...
def observe(
    s: ParticleSet,
    *,
    taoscope: bool = False,
    cool: bool = False,
    blockade: bool = False,
    pe_out: bool = False,
    pes1_out: bool = False,
    pes2_out: bool = False,
) -> Observables: ...
def run(
    s: ParticleSet,
    n: int,
    every: int = 1,
    *,
    taoscope: bool = False,
    cool: bool = False,
    blockade: bool = False,
    pe_out: bool = False,
    pes1_out: bool = False,
    pes2_out: bool = False,
    threads: int | None = None,
    integrator: str = "euler",
) -> Iterator[RunObservables]: ...
def rdf(
    frames: ParticleSet | Iterable[ParticleSet],
    *,
    bins: int = 100,
    range: _Real | None = None,
    pairs: Iterable[str] | None = None,
) -> dict[str, RadialBins]: ...
@overload
def render(
    s: ParticleSet, path: None = None, size: tuple[int, int] = (640, 480), taoscope: bool = False, numbers: bool = False
) -> bytes: ...
@overload
def render(
    s: ParticleSet, path: _Path, size: tuple[int, int] = (640, 480), taoscope: bool = False, numbers: bool = False
) -> None: ...
def write_xyz(
    path_or_file: _Path | IO[str], s: ParticleSet, append: bool = False, *, taoscope: bool = False
) -> None: ...
@overload
def read_xyz(path_or_file: _Path | IO[str] | IO[bytes], index: SupportsIndex = -1, **params: _Real) -> ParticleSet: ...
@overload
def read_xyz(path_or_file: _Path | IO[str] | IO[bytes], index: Literal[":"], **params: _Real) -> list[ParticleSet]: ...
@overload
def as_float64(value: npt.NDArray[Any]) -> npt.NDArray[Any]: ...
@overload
def as_float64(value: Any) -> Any: ...
def to_ase(s: ParticleSet) -> Atoms: ...
def from_ase(atoms: Atoms, **params: _Real) -> ParticleSet: ...

class ZentrovaCalculator(Calculator, metaclass=abc.ABCMeta):  # type: ignore[misc]
    implemented_properties: list[str]
    default_parameters: dict[str, Any]
    given: dict[str, _Real]
    def __init__(
        self, *, taoscope: bool = False, pe_out: bool = False, pes1_out: bool = False, pes2_out: bool = False,
        **params: _Real
    ) -> None: ...
    def calculate(
        self, atoms: Atoms | None = None, properties: Iterable[str] = ("energy",), system_changes: Any = ...
    ) -> None: ...
