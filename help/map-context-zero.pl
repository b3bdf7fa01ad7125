#!/usr/bin/perl
# Gives a Halibut-built WinHelp file the context number 0, pointing at its contents topic.
#   map-context-zero.pl FILE.hlp
# F1 in an open menu asks the viewer for context 0 (HELP_CONTEXT). Halibut writes an empty
# context map (|CTXOMAP), so the viewer would find no topic for it: an empty window under Wine,
# an error on Windows. This writes a map with the one entry 0 -> the topic that the file's
# |SYSTEM record names as its contents, appended to the file, and points the directory at it.
use strict;
use warnings;

my $file = shift or die "usage: $0 FILE.hlp\n";
open(my $in, '<:raw', $file) or die "$file: $!\n";
my $data = do { local $/; <$in> };
close($in);

my ($magic, $directoryStart, undef, $fileSize) = unpack('V V l V', $data);
die "$file: not a WinHelp file\n" unless $magic == 0x00035F3F && $fileSize == length($data);

# Internal files start with a header: the block's size (header included), the data's size, flags.
my $fileHeaderSize = 9;
sub internal_file {
    my ($offset) = @_;
    my (undef, $used) = unpack('V V', substr($data, $offset, 8));
    return substr($data, $offset + $fileHeaderSize, $used);
}

# The directory is a B-tree of (name, offset); Halibut writes it as a single leaf page.
my $btree = $directoryStart + $fileHeaderSize;
my $btreeMagic = unpack('v', substr($data, $btree, 2));
my $levels = unpack('v', substr($data, $btree + 32, 2));  # after magic, flags, page size and 26 bytes
die "$file: unexpected directory (magic $btreeMagic, $levels levels)\n" unless $btreeMagic == 0x293B && $levels == 1;
my $leaf = $btree + 38;
my $count = unpack('v', substr($data, $leaf + 2, 2));
my $position = $leaf + 8;
my (%offset, %entryAt);
for (1 .. $count) {
    my $end = index($data, "\0", $position);
    my $name = substr($data, $position, $end - $position);
    $entryAt{$name} = $end + 1;
    $offset{$name} = unpack('V', substr($data, $end + 1, 4));
    $position = $end + 5;
}
die "$file: no |SYSTEM or |CTXOMAP\n" unless exists $offset{'|SYSTEM'} && exists $offset{'|CTXOMAP'};

my $existing = internal_file($offset{'|CTXOMAP'});
if (unpack('v', $existing) != 0) {
    print "$file: context map already present\n";
    exit 0;
}

# |SYSTEM: a 12-byte header, then records of (type, size, data); type 3 holds the contents topic.
my $system = internal_file($offset{'|SYSTEM'});
my $contents;
for (my $record = 12; $record + 4 <= length($system);) {
    my ($type, $size) = unpack('v v', substr($system, $record, 4));
    $contents = unpack('V', substr($system, $record + 4, 4)) if $type == 3;
    $record += 4 + $size;
}
die "$file: no contents topic recorded\n" unless defined $contents;

my $map = pack('v V V', 1, 0, $contents);
my $newOffset = length($data);
$data .= pack('V V C', $fileHeaderSize + length($map), length($map), 0) . $map;
substr($data, $entryAt{'|CTXOMAP'}, 4) = pack('V', $newOffset);
substr($data, 12, 4) = pack('V', length($data));

open(my $out, '>:raw', "$file.tmp") or die "$file.tmp: $!\n";
print $out $data;
close($out) or die "$file.tmp: $!\n";
rename("$file.tmp", $file) or die "$file: $!\n";
