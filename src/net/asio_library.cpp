// Asio's, its TLS layer's and Beast's own compiled parts, built once here: every file that uses
// them sees only their declarations (BOOST_ASIO_SEPARATE_COMPILATION, set by the build).
#include <boost/asio/impl/src.hpp>
#include <boost/asio/ssl/impl/src.hpp>
#include <boost/beast/src.hpp>
