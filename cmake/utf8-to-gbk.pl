#!/usr/bin/env perl
# Filter for the clang build's GBK conversion: reads a UTF-8 C++ source and writes it with
# every non-ASCII character of a comment replaced by '?'. Comments never reach the program,
# and a character GBK lacks (a "µ" in a note) must not stop the conversion that follows;
# literals and code pass unchanged, so iconv still rejects a literal GBK cannot hold, as
# g++ -fexec-charset=GBK does.
use strict;
use warnings;
use Encode qw(decode encode);

binmode STDIN;
binmode STDOUT;
my $src = decode('UTF-8', do { local $/; <STDIN> }, Encode::FB_CROAK);

my $out = '';
pos($src) = 0;
while (pos($src) < length $src) {
  if ($src =~ m{\G(//[^\n]*|/\*.*?(?:\*/|\z))}gcs) {
    (my $c = $1) =~ s/[^\x00-\x7F]/?/g;
    $out .= $c;
  } elsif ($src =~ m{\G((?:u8|[uUL])?R"([^()\\\s"]{0,16})\(.*?\)\2")}gcs  # raw string
           || $src =~ m{\G((?:u8|[uUL])?"(?:[^"\\\n]|\\.)*")}gcs          # string
           || $src =~ m{\G('(?:[^'\\\n]|\\.)*')}gcs                       # character
           || $src =~ m{\G([^/"'uULR]+|.)}gcs) {                          # the rest
    $out .= $1;
  }
}
print encode('UTF-8', $out);
