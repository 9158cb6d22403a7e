#include "Exception.h"

Exception::Exception(QString message)
    : message_(std::move(message)), utf8_(message_.toStdString()),
      address_(__builtin_return_address(0))
{
}
