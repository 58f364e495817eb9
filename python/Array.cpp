// SPDX-License-Identifier: MIT
#include "Array.h"

#include "Conversions.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace py = pybind11;
using namespace vxRecInfo;

namespace vxpy {

namespace {

bool isSequence(py::handle v)
{
    return PyList_Check(v.ptr()) || PyTuple_Check(v.ptr());
}

VarType arrayTypeNamed(const QString& name)
{
    const VarType type = elementTypeNamed(name);
    if (type == VarType::Empty)
        throw py::value_error("an array type is one of Integer, Long, Single, Double, String, Boolean, Date, Variant");
    return type;
}

std::int32_t lowerBoundOf(py::handle bound)
{
    if (!PyLong_Check(bound.ptr()) || PyBool_Check(bound.ptr()))
        throw py::type_error("lbound must be an int, or a tuple of one int per dimension");
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(bound.ptr(), &overflow);
    if (overflow != 0 || value < std::numeric_limits<std::int32_t>::min()
        || value > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::Overflow, QStringLiteral("Overflow: a lower bound is a Long"));
    return std::int32_t(value);
}

ArrayBound boundOf(std::int32_t lower, std::size_t count)
{
    const std::int64_t upper = std::int64_t(lower) + std::int64_t(count) - 1;
    if (upper > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::Overflow, QStringLiteral("Overflow: the upper bound is beyond the Long range"));
    return {lower, std::int32_t(upper)};
}

// Element access for the one to three dimensions a caller can meet; SafeArray takes its
// indexes as a braced list only.
Variant elementAt(const SafeArray& array, const std::vector<std::int32_t>& index)
{
    switch (index.size()) {
    case 1: return array.at(index[0]);
    case 2: return array.at(index[0], index[1]);
    case 3: return array.at({index[0], index[1], index[2]});
    default: throw RuntimeError(Err::SubscriptOutOfRange);
    }
}

void checkIndex(const SafeArray& array, int dimension, std::int32_t i)
{
    if (dimension > array.dimensions() || i < array.lowerBound(dimension) || i > array.upperBound(dimension))
        throw RuntimeError(Err::SubscriptOutOfRange);
}

// The elements from dimension on, with index holding the ones before it.
py::object listFrom(const SafeArray& array, std::vector<std::int32_t>& index, int dimension)
{
    if (dimension > array.dimensions())
        return fromVariant(elementAt(array, index));
    py::list items;
    for (std::int64_t i = array.lowerBound(dimension); i <= array.upperBound(dimension); ++i) {
        index.push_back(std::int32_t(i));
        items.append(listFrom(array, index, dimension + 1));
        index.pop_back();
    }
    return items;
}

py::object toList(const SafeArray& array)
{
    std::vector<std::int32_t> index;
    return array.isDimensioned() ? listFrom(array, index, 1) : py::list();
}

py::object boundsOf(const SafeArray& array, bool upper)
{
    if (!array.isDimensioned())
        return py::none();
    if (array.dimensions() == 1)
        return py::int_(upper ? array.upperBound(1) : array.lowerBound(1));
    py::list bounds;
    for (int d = 1; d <= array.dimensions(); ++d)
        bounds.append(upper ? array.upperBound(d) : array.lowerBound(d));
    return py::tuple(bounds);
}

std::int32_t indexOf(py::handle key)
{
    if (!PyLong_Check(key.ptr()))
        throw py::type_error("an array index is an int, or a tuple of one int per dimension");
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(key.ptr(), &overflow);
    if (overflow != 0 || value < std::numeric_limits<std::int32_t>::min()
        || value > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::SubscriptOutOfRange);
    return std::int32_t(value);
}

py::object item(const SafeArray& array, py::handle key)
{
    std::vector<std::int32_t> index;
    if (PyTuple_Check(key.ptr())) {
        for (py::handle i : key)
            index.push_back(indexOf(i));
        if (int(index.size()) != array.dimensions())
            throw RuntimeError(Err::SubscriptOutOfRange);
        return fromVariant(elementAt(array, index));
    }
    const std::int32_t i = indexOf(key);
    checkIndex(array, 1, i);
    index.push_back(i);
    return listFrom(array, index, 2);
}

// The lists being converted on this thread, outermost first. Converting recurses once per
// level, so the depth is bounded, and a list met again inside itself would never end.
class Nesting
{
public:
    static constexpr std::size_t MaxDepth = 1000;

    explicit Nesting(py::handle list)
    {
        if (std::find(s_open.cbegin(), s_open.cend(), list.ptr()) != s_open.cend())
            throw RuntimeError(Err::OutOfStackSpace,
                               QStringLiteral("Out of stack space: a list that contains itself cannot be an array"));
        if (s_open.size() >= MaxDepth)
            throw RuntimeError(Err::OutOfStackSpace, QStringLiteral("Out of stack space: lists nested deeper than "
                                                                    "%1 levels cannot be an array")
                                                         .arg(MaxDepth));
        s_open.push_back(list.ptr());
    }
    ~Nesting() { s_open.pop_back(); }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    static thread_local std::vector<PyObject*> s_open;
};

thread_local std::vector<PyObject*> Nesting::s_open;

} // namespace

SafeArray arrayFromList(VarType element, py::handle values, py::handle lbound)
{
    if (!isSequence(values))
        throw py::type_error("the values of an array are a list, or a list of rows");
    const Nesting nesting(values);
    const auto rows = py::reinterpret_borrow<py::sequence>(values);
    bool allRows = rows.size() > 0;
    for (py::handle row : rows)
        allRows = allRows && isSequence(row);
    const bool boundPerDimension = isSequence(lbound);
    const std::size_t dimensions = boundPerDimension ? py::len(lbound) : allRows ? 2 : 1;
    if (dimensions < 1 || dimensions > 2)
        throw py::value_error("an array made here has one or two dimensions");
    std::vector<std::int32_t> lower(dimensions, 0);
    if (boundPerDimension) {
        const auto perDimension = py::reinterpret_borrow<py::sequence>(lbound);
        for (std::size_t d = 0; d < dimensions; ++d)
            lower[d] = lowerBoundOf(perDimension[d]);
    } else if (!lbound.is_none()) {
        lower.assign(dimensions, lowerBoundOf(lbound));
    }

    std::vector<ArrayBound> bounds{boundOf(lower[0], rows.size())};
    if (dimensions == 2) {
        const std::size_t columns = rows.size() > 0 && isSequence(rows[0]) ? py::len(rows[0]) : 0;
        for (py::handle row : rows)
            if (!isSequence(row) || py::len(row) != columns)
                throw py::value_error("every row of a two-dimensional array is a list as long as the first");
        bounds.push_back(boundOf(lower[1], columns));
    }
    SafeArray array(element, bounds);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::int32_t row = bounds[0].lower + std::int32_t(i);
        if (dimensions == 1) {
            array.set(row, toVariant(rows[i]));
            continue;
        }
        const auto columns = py::reinterpret_borrow<py::sequence>(rows[i]);
        const Nesting rowNesting(columns); // a row is a level of lists too
        for (std::size_t j = 0; j < columns.size(); ++j)
            array.set(row, bounds[1].lower + std::int32_t(j), toVariant(columns[j]));
    }
    return array;
}

void defineArray(py::module_& module)
{
    py::class_<Array>(module, "Array", R"(A safe array: Array(type, values=None, lbound=0).

type is one of "Integer", "Long", "Single", "Double", "String", "Boolean", "Date", "Variant";
values a list, or a list of rows for two dimensions (None declares an array without
dimensions); lbound an int, or a tuple with one per dimension. Indexes are the array's own.)")
        .def(py::init([](const py::str& type, py::handle values, py::handle lbound) {
                 const VarType element = arrayTypeNamed(toQString(type));
                 return Array{values.is_none() ? SafeArray(element) : arrayFromList(element, values, lbound)};
             }),
             py::arg("type"), py::arg("values") = py::none(), py::arg("lbound") = 0,
             "__init__(self, type, values=None, lbound=0)\n--\n\n")
        .def_property_readonly("type", [](const Array& a) { return toPython(typeName(a.value.elementType())); },
                               "The element type's name.")
        .def_property_readonly("dims", [](const Array& a) { return a.value.dimensions(); }, "The number of dimensions.")
        .def_property_readonly("lbound", [](const Array& a) { return boundsOf(a.value, false); },
                               "The lower bound: an int for one dimension, a tuple for more, None without dimensions.")
        .def_property_readonly("ubound", [](const Array& a) { return boundsOf(a.value, true); },
                               "The upper bound: an int for one dimension, a tuple for more, None without dimensions.")
        .def("__len__", [](const Array& a) {
            return a.value.isDimensioned() ? std::int64_t(a.value.upperBound(1)) - a.value.lowerBound(1) + 1 : 0;
        })
        .def("__getitem__", [](const Array& a, py::handle key) { return item(a.value, key); })
        .def("__iter__", [](const Array& a) { return py::iter(toList(a.value)); })
        .def("tolist", [](const Array& a) { return toList(a.value); },
             "tolist(self)\n--\n\nThe elements as a list, a list of rows for two dimensions.")
        .def("__repr__", [](const Array& a) {
            const py::str type = toPython(typeName(a.value.elementType()));
            if (!a.value.isDimensioned())
                return py::str("Array({!r})").format(type);
            return py::str("Array({!r}, {!r}, lbound={!r})").format(type, toList(a.value), boundsOf(a.value, false));
        });
}

} // namespace vxpy
