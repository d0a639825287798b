# vi -i stores the typing up to Escape; the Enter after it is an empty command line
[root @fs5 /root/ ]# vi f

The file "f" was created successfully.

[root @fs5 /root/ ]# vi -i f

Erasing the file "f"
Press "Esc", then "Enter" to finish your input and save the file.
Input the data here:
«abc\x1b»

[root @fs5 /root/ ]# 
? block 29

[root @fs5 /root/ ]# rm f

Delete file with all its content?
("Enter" - yes, "Esc" + "Enter"- no)
«y»
Erasing the file "f"
Deleting file: "f".

[root @fs5 /root/ ]# rm /etc

Delete file with all its content?
("Enter" - yes, "Esc" + "Enter"- no)
«\x1b»

