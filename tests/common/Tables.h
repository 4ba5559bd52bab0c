#pragma once

// Table helpers: the columns of a data table declared in one line, and the value of a column
// of the current data row for tests that use it once.

#include <QTest>

#include <initializer_list>

namespace barlink::testing {

template<typename... T> void columns(std::initializer_list<const char *> names)
{
    auto name = names.begin();
    (QTest::addColumn<T>(*name++), ...);
}

template<typename T> const T &fetch(const char *column)
{
    return *static_cast<const T *>(QTest::qData(column, qMetaTypeId<T>()));
}

} // namespace barlink::testing
